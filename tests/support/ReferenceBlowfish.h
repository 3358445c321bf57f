#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillmere::testing {

// An independent Blowfish to check the cipher against: ECB, one block at a time, over big-endian
// halves. nullopt where the build has none; the cipher's tests then rely on the answers they
// recorded from it.
std::optional<std::vector<std::uint8_t>> ReferenceBlowfish(const std::string& key,
                                                           std::vector<std::uint8_t> data,
                                                           bool encrypt);

}  // namespace quillmere::testing
