#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "records/BrandingRecord.h"
#include "records/LittleEndian.h"
#include "records/RecordFields.h"
#include "records/SiteAddresses.h"
#include "support/RecordsTestContext.h"

namespace quillmere {
namespace {

using testing::ProcessEnded;
using testing::RecordsTestContext;
using testing::UnmergedBlockCopy;

void PutText(std::uint8_t* record, std::size_t offset, std::size_t width, const std::string& text) {
    std::memset(record + offset, 0, width);
    std::memcpy(record + offset, text.data(), std::min(text.size(), width));
}

void SealWithWordSum(std::uint8_t* record) {
    WriteLe32(record + kRecordChecksumOffset, WordChecksum(record + kChecksummedAreaOffset));
}

// A merged branding record written field by field, as a builder lays it out.
class MergedRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteLe32(record() + kDefaultsFlagOffset, 0);
        WriteLe32(record() + kResellerIdOffset, 100042);
        WriteLe32(record() + kUpdateCodeSeedOffset, 777);
        WriteLe32(record() + kHideBonusSectionsOffset, 1);
        PutText(record(), kEbookTitleOffset, kEbookTitleWidth, "Gardening");
        PutText(record(), kResellerNameOffset, kResellerTextWidth, "Ann");
        PutText(record(), kResellerSiteOffset, kResellerTextWidth, "http://ann.example");
        PutText(record(), kResellerUrlOffset, kResellerTextWidth, "ann-url");
        PutText(record(), kEbookDescriptionOffset, kEbookDescriptionWidth, "All about soil");
        SealWithWordSum(record());
    }

    std::uint8_t* record() { return block.data(); }

    BrandingValues Load() {
        BrandingValues values;
        LoadBrandingSettings(record(), values, context.ctx);
        return values;
    }

    std::vector<std::uint8_t> block = UnmergedBlockCopy();
    RecordsTestContext context;
};

TEST_F(MergedRecord, CopiesEveryValue) {
    const BrandingValues values = Load();
    EXPECT_EQ(values.ResellerId, 100042);
    EXPECT_EQ(values.UpdateCodeSeed, 777);
    EXPECT_EQ(values.HideBonusSections, 1);
    EXPECT_EQ(values.EbookTitle, "Gardening");
    EXPECT_EQ(values.ResellerName, "Ann");
    EXPECT_EQ(values.ResellerSite, "http://ann.example");
    EXPECT_EQ(values.ResellerUrl, "ann-url");
    EXPECT_EQ(values.EbookDescription, "All about soil");
    EXPECT_TRUE(context.dialogs.shown.empty());
}

TEST_F(MergedRecord, AcceptsARecordSealedWithTheByteSum) {
    WriteLe32(record() + kRecordChecksumOffset, ByteChecksum(record() + kChecksummedAreaOffset));
    EXPECT_EQ(Load().ResellerName, "Ann");
    EXPECT_TRUE(context.dialogs.shown.empty());
}

// Which changed bytes the checksum notices: everything from the defaults flag to the end of the
// description, and nothing outside that.
struct Tamper {
    const char* name;
    std::size_t offset;
    bool detected;
};

class TamperedRecord : public MergedRecord, public ::testing::WithParamInterface<Tamper> {};

TEST_P(TamperedRecord, FailsOnlyInsideTheChecksummedArea) {
    block[GetParam().offset] ^= 0x01;
    BrandingValues values;
    values.ResellerName = "untouched";
    if (!GetParam().detected) {
        LoadBrandingSettings(record(), values, context.ctx);
        EXPECT_EQ(values.ResellerName, "Ann");
        EXPECT_TRUE(context.dialogs.shown.empty());
        return;
    }
    try {
        LoadBrandingSettings(record(), values, context.ctx);
        FAIL() << "the process should have ended";
    } catch (const ProcessEnded& ended) {
        EXPECT_EQ(ended.exitCode, 1);
    }
    ASSERT_EQ(context.dialogs.shown.size(), 1u);
    EXPECT_EQ(context.dialogs.shown[0].text, "Branding check failure (software corrupted)");
    EXPECT_EQ(context.dialogs.shown[0].caption, "Ebook");
    EXPECT_EQ(context.dialogs.shown[0].style.icon, MessageBoxIcon::Stop);
    EXPECT_EQ(context.dialogs.shown[0].style.buttons, MessageBoxButtons::Ok);
    EXPECT_EQ(values.ResellerName, "untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, TamperedRecord,
    ::testing::Values(Tamper{"reseller_name_first", kResellerNameOffset, true},
                      Tamper{"reseller_id", kResellerIdOffset, true},
                      Tamper{"reserved_word", 80, true},
                      Tamper{"description_last", kRecordChecksumOffset - 1, true},
                      Tamper{"stored_checksum", kRecordChecksumOffset, true},
                      Tamper{"signature", 0, false},
                      Tamper{"title_signature", kTitleSignatureOffset, false},
                      Tamper{"fallback_title", kFallbackTitleOffset + 7, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MergedRecord, ACorruptRecordIsReportedUnderTheCurrentAppName) {
    block[kResellerNameOffset] = 'B';
    context.ctx.appName = "Still starting";
    EXPECT_THROW(Load(), ProcessEnded);
    ASSERT_EQ(context.dialogs.shown.size(), 1u);
    EXPECT_EQ(context.dialogs.shown[0].caption, "Still starting");
}

TEST_F(MergedRecord, ResellerIdAndSeedFallBackToTheClubOnlyWhenBothAreZero) {
    struct Case {
        std::uint32_t id, seed;
        std::int32_t wantId, wantSeed;
    };
    for (const Case& c : {Case{0, 0, 100001, 306417}, Case{0, 5, 0, 5}, Case{7, 0, 7, 0},
                          Case{100042, 99, 100042, 99}}) {
        WriteLe32(record() + kResellerIdOffset, c.id);
        WriteLe32(record() + kUpdateCodeSeedOffset, c.seed);
        SealWithWordSum(record());
        const BrandingValues values = Load();
        EXPECT_EQ(values.ResellerId, c.wantId) << c.id << "/" << c.seed;
        EXPECT_EQ(values.UpdateCodeSeed, c.wantSeed) << c.id << "/" << c.seed;
    }
}

TEST_F(MergedRecord, AnEmptyTitleTakesTheFallbackUnlessItIsStillUnfilled) {
    struct Case {
        const char* title;
        const char* fallback;
        const char* want;
    };
    for (const Case& c :
         {Case{"", "12345", ""}, Case{"", "1234567890", ""}, Case{"", "12345 Tips", ""},
          Case{"", "1234", "1234"}, Case{"", "1234x5", "1234x5"},
          Case{"", "Backup title", "Backup title"}, Case{"", "", ""}, Case{"Own", "Other", "Own"},
          Case{"Own", "12345", "Own"}}) {
        PutText(record(), kEbookTitleOffset, kEbookTitleWidth, c.title);
        PutText(record(), kFallbackTitleOffset, kFallbackTitleWidth, c.fallback);
        SealWithWordSum(record());
        EXPECT_EQ(Load().EbookTitle, c.want)
            << "title '" << c.title << "', fallback '" << c.fallback << "'";
    }
}

TEST_F(MergedRecord, TextsWithoutAZeroByteStopAtTheirFieldsEnd) {
    PutText(record(), kEbookTitleOffset, kEbookTitleWidth, std::string(kEbookTitleWidth, 't'));
    PutText(record(), kResellerUrlOffset, kResellerTextWidth, std::string(kResellerTextWidth, 'u'));
    PutText(record(), kEbookDescriptionOffset, kEbookDescriptionWidth,
            std::string(kEbookDescriptionWidth, 'd'));
    // The fallback title ends the record: without a zero it must still stop there.
    PutText(record(), kEbookTitleOffset, kEbookTitleWidth, "");
    PutText(record(), kFallbackTitleOffset, kFallbackTitleWidth,
            std::string(kFallbackTitleWidth, 'f'));
    SealWithWordSum(record());
    std::vector<std::uint8_t> exact(record(), record() + kBrandingRecordSize);

    BrandingValues values;
    LoadBrandingSettings(exact.data(), values, context.ctx);
    EXPECT_EQ(values.ResellerUrl, std::string(kResellerTextWidth, 'u'));
    EXPECT_EQ(values.EbookDescription, std::string(kEbookDescriptionWidth, 'd'));
    EXPECT_EQ(values.EbookTitle, std::string(kFallbackTitleWidth, 'f'));
}

TEST(UnmergedRecord, GivesTheClubsDefaultsWhateverItsChecksum) {
    std::vector<std::uint8_t> block = UnmergedBlockCopy();
    WriteLe32(block.data() + kRecordChecksumOffset, 0xDEADBEEFu);
    PutText(block.data(), kResellerNameOffset, kResellerTextWidth, "Ignored");
    RecordsTestContext context;
    BrandingValues values;
    values.EbookTitle = "stale";

    EXPECT_TRUE(LoadBrandingSettings(block.data(), values, context.ctx));
    EXPECT_EQ(values.ResellerId, 100001);
    EXPECT_EQ(values.UpdateCodeSeed, 306417);
    EXPECT_EQ(values.HideBonusSections, 0);
    EXPECT_EQ(values.ResellerName, "Corvane");
    EXPECT_EQ(values.ResellerSite, ClubSiteAddress);
    EXPECT_EQ(values.ResellerUrl, "");
    EXPECT_EQ(values.EbookTitle, "");
    EXPECT_EQ(values.EbookDescription, "");
    EXPECT_TRUE(context.dialogs.shown.empty());
}

}  // namespace
}  // namespace quillmere
