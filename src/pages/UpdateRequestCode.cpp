#include "pages/RewritePage.h"

namespace quillmere {

// All sums wrap at 32 bits; they are done unsigned so the wrap is defined.
std::int32_t ComputeUpdateRequestCode(std::int32_t seed, const std::string& text) {
    const auto k = static_cast<std::uint32_t>(seed);
    std::uint32_t h = (k + k % 37u + 763912u) * 500u + k % 827u + 173u;
    int weight = 37;
    for (char byte : text) {
        // Bytes count as signed: those of 128 and above pull the code down.
        const auto unsignedByte = static_cast<unsigned char>(byte);
        const int c = unsignedByte < 128 ? unsignedByte : unsignedByte - 256;
        h += static_cast<std::uint32_t>((c % weight) * weight);
        weight -= 3;
        if (weight <= 5) weight = 29;
    }
    return static_cast<std::int32_t>(h);
}

}  // namespace quillmere
