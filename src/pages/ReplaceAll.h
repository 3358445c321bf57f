#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LeadBytes.h"

namespace quillmere {

// What ReplaceAll works in, kept from one call to the next: a page rewritten step after step then
// reuses the same memory instead of allocating (and faulting in) a fresh copy of itself each time.
struct ReplaceBuffers {
    std::string spare;
    std::vector<std::size_t> matches;
};

// Replaces every non-overlapping occurrence of `tag`, left to right; inserted text is not searched
// again. Exact and case-sensitive; never matches from a trail byte. Linear in the text's length;
// the text is left untouched when the tag does not occur.
void ReplaceAll(std::string& text, std::string_view tag, std::string_view replacement,
                const LeadBytes& lead, ReplaceBuffers& buffers);
void ReplaceAll(std::string& text, std::string_view tag, std::string_view replacement,
                const LeadBytes& lead);

}  // namespace quillmere
