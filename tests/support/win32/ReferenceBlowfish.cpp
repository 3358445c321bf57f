#include "support/ReferenceBlowfish.h"

namespace quillmere::testing {

// The cross build has no OpenSSL.
std::optional<std::vector<std::uint8_t>> ReferenceBlowfish(const std::string& /*key*/,
                                                           std::vector<std::uint8_t> /*data*/,
                                                           bool /*encrypt*/) {
    return std::nullopt;
}

}  // namespace quillmere::testing
