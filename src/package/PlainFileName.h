#pragma once

#include <string_view>

namespace quillmere {

// True for a name that can only ever mean a file directly inside a given folder: not empty, not
// "." or "..", no folder separator of either platform, no drive or stream colon.
bool IsPlainFileName(std::string_view name);

}  // namespace quillmere
