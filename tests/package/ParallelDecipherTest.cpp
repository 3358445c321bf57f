// Deciphering on several threads gives exactly the bytes of the one-thread pass, wherever the
// package's length falls against the blocks and the threads' shares.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

#include "package/BlowfishCipher.h"
#include "package/PackageKey.h"
#include "package/ParallelDecipher.h"

namespace quillmere {
namespace {

constexpr std::uint32_t kShare = kMinimumDecipherShare;
// Bytes past `count` that neither pass may touch.
constexpr std::size_t kGuard = 64;

std::vector<std::uint8_t> RandomBytes(std::size_t n) {
    std::mt19937 rng(static_cast<std::uint32_t>(n));
    std::vector<std::uint8_t> out(n);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng());
    return out;
}

struct Case {
    std::uint32_t count;
    unsigned threads;  // 0: one per core
    friend void PrintTo(const Case& c, std::ostream* os) {
        *os << c.count << " bytes on " << c.threads << " threads";
    }
};

class ParallelDecipherTest : public ::testing::TestWithParam<Case> {};

TEST_P(ParallelDecipherTest, SameBytesAsOneThread) {
    const Case c = GetParam();
    const std::vector<std::uint8_t> original = RandomBytes(c.count + kGuard);
    CBlowfishCipher cipher(BuildPackageKey().c_str());

    std::vector<std::uint8_t> serial = original;
    cipher.DecryptBuffer(serial.data(), c.count, serial.data());
    std::vector<std::uint8_t> parallel = original;
    DecryptInParallel(cipher, parallel.data(), c.count, c.threads);

    EXPECT_TRUE(parallel == serial);
    // The guard is untouched and the deciphering did happen.
    EXPECT_TRUE(std::equal(parallel.end() - kGuard, parallel.end(), original.end() - kGuard));
    if (c.count >= 8) {
        EXPECT_FALSE(std::equal(parallel.begin(), parallel.begin() + 8, original.begin()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    SizesAroundBlocksAndShares, ParallelDecipherTest,
    ::testing::Values(Case{0, 2}, Case{7, 2}, Case{8, 2}, Case{13, 4},            //
                      Case{kShare - 8, 2}, Case{kShare, 2}, Case{kShare + 8, 2},  //
                      Case{2 * kShare - 1, 2}, Case{2 * kShare, 2}, Case{2 * kShare + 8, 2},
                      Case{3 * kShare + 5 * 8, 3}, Case{3 * kShare + 5 * 8 + 3, 3},  //
                      Case{4 * kShare + 8, 64}, Case{5 * kShare + 7 * 8 + 5, 4},     //
                      Case{3 * kShare + 24, 0}));

}  // namespace
}  // namespace quillmere
