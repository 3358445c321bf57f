#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LeadBytes.h"

namespace quillmere::builder {

struct BookEntry {
    std::string name;
    // The file's bytes as the author wrote them.
    std::string_view bytes;
};

// What the check looks at: the packaged files in package order, read in the readers' code page.
class BookContents {
  public:
    BookContents(std::vector<BookEntry> entries, const LeadBytes& leadBytes);

    const std::vector<BookEntry>& Entries() const { return entries_; }
    const LeadBytes& Lead() const { return lead_; }

    // The packaged name spelt exactly `name`.
    bool Holds(std::string_view name) const;
    // The packaged name that equals `name` when letter case is ignored, if any.
    std::optional<std::string> HoldsIgnoringCase(std::string_view name) const;

  private:
    std::vector<BookEntry> entries_;
    LeadBytes lead_;
    std::map<std::string, std::string, std::less<>> byLoweredName_;
};

// Length of the character that starts at `i`: two for a lead byte followed by another byte.
inline std::size_t CharLength(std::string_view text, std::size_t i, const LeadBytes& lead) {
    return lead.IsLead(static_cast<std::uint8_t>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Extension from the last '.' of a name (characters, not bytes), ASCII-lowered; empty without.
std::string LowerExtension(std::string_view name, const LeadBytes& lead);

bool IsPageName(std::string_view name, const LeadBytes& lead);

}  // namespace quillmere::builder
