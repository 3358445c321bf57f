#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quillmere {

// The package key text, assembled at run time from the six stored pieces (244 characters).
std::string BuildPackageKey();

// Pieces 1, 3, 5 then 2, 4, 6, joined; character i is then raised by i mod 17 (modulo 256).
std::string AssemblePackageKey(const std::array<std::string_view, 6>& pieces);

}  // namespace quillmere
