#include "BookContents.h"

#include "package/MultibyteText.h"

namespace quillmere::builder {

BookContents::BookContents(std::vector<BookEntry> entries, const LeadBytes& leadBytes)
    : entries_(std::move(entries)), lead_(leadBytes) {
    for (const BookEntry& entry : entries_) {
        byLoweredName_.emplace(LowerAnsi(entry.name, lead_), entry.name);
    }
}

bool BookContents::Holds(std::string_view name) const {
    auto found = byLoweredName_.find(LowerAnsi(name, lead_));
    return found != byLoweredName_.end() && found->second == name;
}

std::optional<std::string> BookContents::HoldsIgnoringCase(std::string_view name) const {
    auto found = byLoweredName_.find(LowerAnsi(name, lead_));
    if (found == byLoweredName_.end()) return std::nullopt;
    return found->second;
}

std::string LowerExtension(std::string_view name, const LeadBytes& lead) {
    const std::size_t dot = FindLastChar(name, '.', lead);
    if (dot == kNotFound) return {};
    return LowerAnsi(name.substr(dot), lead);
}

bool IsPageName(std::string_view name, const LeadBytes& lead) {
    const std::string extension = LowerExtension(name, lead);
    return extension == ".htm" || extension == ".html";
}

}  // namespace quillmere::builder
