#pragma once

#include <string>

namespace quillmere {

// The package key text, assembled at run time from the six stored pieces (244 characters).
std::string BuildPackageKey();

}  // namespace quillmere
