#pragma once

#include <string>
#include <string_view>

#include "package/LeadBytes.h"

namespace quillmere {

// Replaces every non-overlapping occurrence of `tag`, left to right; inserted text is not searched
// again. Exact and case-sensitive; never matches from a trail byte. Linear in the text's length.
void ReplaceAll(std::string& text, std::string_view tag, std::string_view replacement,
                const LeadBytes& lead);

}  // namespace quillmere
