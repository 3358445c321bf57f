#pragma once

#include <cstdint>

#include "package/BlowfishCipher.h"

namespace quillmere {

// Below this much work per thread, starting a thread costs more than it saves.
inline constexpr std::uint32_t kMinimumDecipherShare = 256u << 10;

// Deciphers `buf[0, count)` in place exactly as `cipher.DecryptBuffer(buf, count, buf)` does, on up
// to `threads` threads (0: one per core). Electronic-codebook blocks are independent, so each
// thread takes one run of whole blocks (DecryptBuffer only reads the cipher's tables); a package
// too small to be worth a thread stays on the calling one. Every thread has finished when this
// returns.
void DecryptInParallel(CBlowfishCipher& cipher, std::uint8_t* buf, std::uint32_t count,
                       unsigned threads = 0);

}  // namespace quillmere
