#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "package/BlowfishCipher.h"
#include "package/PackageKey.h"

namespace quillmere {
namespace {

TEST(PackageKey, JoinsOddPiecesThenEvenPiecesAndRaisesEachCharacterByItsIndexModulo17) {
    // Joined: "ab" "ef" "ij" "cd" "gh" "klmnopqrstu" -> "abefijcdghklmnopqrstu".
    const std::string key = AssemblePackageKey({"ab", "cd", "ef", "gh", "ij", "klmnopqrstu"});
    // Raised by 0, 1, ..., 16, then 0, 1, ... again; the last two of the first cycle leave ASCII.
    EXPECT_EQ(key, "acgimoikoquwy{}\x7F\x81rtvx");
}

TEST(PackageKey, StoredPiecesAreVisibleAsciiWithoutSpaces) {
    const std::string key = BuildPackageKey();
    ASSERT_EQ(key.size(), 244u);
    for (std::size_t i = 0; i < key.size(); ++i) {
        const int original = static_cast<unsigned char>(key[i]) - static_cast<int>(i % 17);
        EXPECT_TRUE(original > 0x20 && original < 0x7F) << "at " << i;
    }
}

TEST(PackageKey, StaysTheKeyThatExistingBooksWereBuiltWith) {
    // A fingerprint of the key: books built earlier only open while it stays the same.
    CBlowfishCipher cipher(BuildPackageKey().c_str());
    std::vector<std::uint8_t> block{'Q', 'u', 'i', 'l', 'l', 'm', 'e', 'r'};
    cipher.EncryptBuffer(block.data(), 8, block.data());
    const std::vector<std::uint8_t> fingerprint{0x8F, 0x77, 0x89, 0xE1, 0x35, 0x2E, 0x56, 0xDF};
    EXPECT_EQ(block, fingerprint);
}

}  // namespace
}  // namespace quillmere
