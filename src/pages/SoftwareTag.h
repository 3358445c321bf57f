#pragma once

#include <string>

#include "platform/LeadBytes.h"

namespace quillmere {

inline constexpr const char* kSoftwareTag = "RVX_SW_";

// Removes the first "RVX_SW_" and the ASCII letters right after it, and returns those letters
// (empty when there is no such tag). Later software tags stay in the page as text.
std::string TakeSoftwareTag(std::string& text, const LeadBytes& lead);

}  // namespace quillmere
