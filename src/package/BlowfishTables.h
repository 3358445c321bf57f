#pragma once

#include <cstdint>

namespace quillmere {

// Blowfish's initial P-array and S-boxes: the fractional hexadecimal digits of pi, in order. Box k
// of the S-boxes occupies words 256*k to 256*k + 255.
extern const std::uint32_t kInitialPArray[18];
extern const std::uint32_t kInitialSBoxes[1024];

}  // namespace quillmere
