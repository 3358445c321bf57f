#include <gtest/gtest.h>

#include <algorithm>

#include "BookFileBytes.h"
#include "records/RecordWriter.h"
#include "records/Signatures.h"
#include "records/UnmergedRecordBlock.h"

namespace quillmere {
namespace {

std::vector<std::size_t> Occurrences(const std::vector<std::uint8_t>& file,
                                     const Signature& signature) {
    std::vector<std::size_t> found;
    for (auto at = FindSignature(file, signature); at;
         at = FindSignature(file, signature, *at + 1)) {
        found.push_back(*at);
    }
    return found;
}

TEST(StubFileTest, EachSignatureLiesOnlyWhereTheRecordBlockPutsIt) {
    const auto stub = testing::ReadBytes(QUILLMERE_STUB_PATH);
    const auto branding = Occurrences(stub, BrandingSignature());
    ASSERT_EQ(branding.size(), 2u);
    const std::size_t block = branding[0];
    EXPECT_EQ(branding[1], block + kTitleSignatureOffset);
    const std::vector<std::size_t> directory = {block + kPackageDirectoryOffset,
                                                block + kTrailingSignatureOffset};
    EXPECT_EQ(Occurrences(stub, DirectorySignature()), directory);
}

TEST(StubFileTest, CarriesTheUnmergedBlockAsBuilt) {
    const auto stub = testing::ReadBytes(QUILLMERE_STUB_PATH);
    const std::size_t block = testing::BlockOffset(stub);
    const RecordBlock expected = UnmergedRecordBlock();
    ASSERT_LE(block + expected.size(), stub.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), stub.begin() + block));
    // What makes it unmerged, spelled out.
    EXPECT_NE(stub[block + kDefaultsFlagOffset], 0);
    EXPECT_EQ(std::string(stub.begin() + block + kFallbackTitleOffset,
                          stub.begin() + block + kFallbackTitleOffset + 5),
              "12345");
    EXPECT_EQ(std::string(stub.begin() + block + kPackageDirectoryOffset + kEntriesOffset,
                          stub.begin() + block + kPackageDirectoryOffset + kEntriesOffset +
                              kMergePlaceholderLength),
              kMergePlaceholder);
}

}  // namespace
}  // namespace quillmere
