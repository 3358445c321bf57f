#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LeadBytes.h"

namespace quillmere {

inline constexpr const char* kVersionTagWord = "RVX_VERSION";

// The first version tag of a page: where it lies and what it carries. A word not followed by an
// underscore is a tag of its own with every field empty.
struct VersionTag {
    std::size_t begin = 0;
    std::size_t end = 0;  // one past the tag's last byte, never beyond the text
    std::string productCode;
    std::uint32_t versionNumber = 0;  // accumulated with 32-bit wrap-around
    std::string f;
    std::string x;
};

// Finds and parses the first "RVX_VERSION"; nothing when the page has none.
std::optional<VersionTag> ParseVersionTag(std::string_view text, const LeadBytes& lead);

}  // namespace quillmere
