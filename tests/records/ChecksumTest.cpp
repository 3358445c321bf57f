#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "records/BrandingRecord.h"
#include "records/LittleEndian.h"
#include "records/RecordFields.h"

namespace quillmere {
namespace {

// The checksummed area: 249 words and the stored checksum.
std::vector<std::uint8_t> Area(std::uint8_t (*byteAt)(std::size_t)) {
    std::vector<std::uint8_t> area(kChecksummedByteCount + 4);
    for (std::size_t j = 0; j < kChecksummedByteCount; ++j) area[j] = byteAt(j);
    return area;
}

struct KnownSums {
    const char* name;
    std::uint8_t (*byteAt)(std::size_t);
    std::uint32_t word;
    std::uint32_t byte;
};

// Expected values worked out separately from the definition of the sums; the all-0xFF area makes
// every product and the running total wrap many times.
const KnownSums kKnownSums[] = {
    {"zeros", [](std::size_t) -> std::uint8_t { return 0; }, 362165986u, 43278715u},
    {"all_ff", [](std::size_t) -> std::uint8_t { return 0xFF; }, 362325203u, 199349425u},
    {"pattern", [](std::size_t j) { return static_cast<std::uint8_t>(j * 7 + 3); }, 2189118011u,
     121078733u},
};

class KnownChecksums : public ::testing::TestWithParam<KnownSums> {};

TEST_P(KnownChecksums, WordAndByteSumsMatchWorkedValues) {
    const auto area = Area(GetParam().byteAt);
    EXPECT_EQ(WordChecksum(area.data()), GetParam().word);
    EXPECT_EQ(ByteChecksum(area.data()), GetParam().byte);
}

INSTANTIATE_TEST_SUITE_P(Areas, KnownChecksums, ::testing::ValuesIn(kKnownSums),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VerifyRecordChecksum, AcceptsEitherSumAndRejectsAnythingElse) {
    auto area = Area(kKnownSums[2].byteAt);
    std::uint8_t* stored = area.data() + kChecksummedByteCount;
    const std::uint32_t word = WordChecksum(area.data());
    const std::uint32_t byte = ByteChecksum(area.data());
    ASSERT_NE(word, byte);

    struct Case {
        std::uint32_t stored;
        bool accepted;
    };
    for (const Case& c : {Case{word, true}, Case{byte, true}, Case{word + 1, false},
                          Case{byte - 1, false}, Case{0, false}}) {
        WriteLe32(stored, c.stored);
        EXPECT_EQ(VerifyRecordChecksum(area.data()), c.accepted) << "stored " << c.stored;
    }
}

TEST(VerifyRecordChecksum, TheStoredChecksumIsNotPartOfTheSums) {
    auto area = Area(kKnownSums[1].byteAt);
    const std::uint32_t word = WordChecksum(area.data());
    const std::uint32_t byte = ByteChecksum(area.data());
    WriteLe32(area.data() + kChecksummedByteCount, 0x12345678u);
    EXPECT_EQ(WordChecksum(area.data()), word);
    EXPECT_EQ(ByteChecksum(area.data()), byte);
}

}  // namespace
}  // namespace quillmere
