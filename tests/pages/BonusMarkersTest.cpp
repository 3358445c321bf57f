#include <gtest/gtest.h>

#include <string>

#include "PageRewriteFixture.h"

namespace quillmere::testing {
namespace {

struct BonusCase {
    const char* name;
    std::int32_t hide;
    std::string page;
    std::string expected;
};

class BonusMarkers : public ::testing::TestWithParam<BonusCase> {};

TEST_P(BonusMarkers, MarkersBecomeCommentsOrVanish) {
    const BonusCase& c = GetParam();
    std::string text = c.page;
    ReplaceBuffers buffers;
    ApplyBonusMarkers(text, c.hide, LeadBytes(), buffers);
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BonusMarkers,
    ::testing::Values(BonusCase{"HiddenSection", 1,
                                "a \nRVX_BONUS_START <p>gift</p> RVX_BONUS_END\n b",
                                "a \n<!-- <p>gift</p> -->\n b"},
                      BonusCase{"AnyNonZeroHides", -7, "RVX_BONUS_STARTxRVX_BONUS_END", "<!--x-->"},
                      BonusCase{"ShownSectionKeepsSpacing", 0,
                                "a \nRVX_BONUS_START <p>gift</p> RVX_BONUS_END\n b",
                                "a \n <p>gift</p> \n b"},
                      BonusCase{"StartWithoutEnd", 1, "a RVX_BONUS_START b", "a <!-- b"},
                      BonusCase{"EndWithoutStart", 1, "a RVX_BONUS_END b", "a --> b"},
                      BonusCase{"NestedNotPaired", 1,
                                "RVX_BONUS_START 1 RVX_BONUS_START 2 RVX_BONUS_END 3 RVX_BONUS_END",
                                "<!-- 1 <!-- 2 --> 3 -->"},
                      BonusCase{"LowerCaseIgnored", 1, "rvx_bonus_start x rvx_bonus_end",
                                "rvx_bonus_start x rvx_bonus_end"}),
    [](const auto& info) { return std::string(info.param.name); });

using BonusInPage = PageRewriteTest;

TEST_F(BonusInPage, VersionTagInHiddenSectionPutsBlockInsideComment) {
    settings.HideBonusSections = 1;
    StoreAdvert(42);
    const std::string page = Rewrite("RVX_BONUS_START<p>RVX_VERSION_620_5_f/x</p>RVX_BONUS_END");
    EXPECT_EQ(page.rfind("<!--<p><FONT", 0), 0u);
    EXPECT_NE(page.find("Big Sale"), std::string::npos);
    EXPECT_EQ(page.substr(page.size() - 14), "</FONT></p>-->");
}

// The advert is inserted after the bonus step, so markers in its texts are shown as written.
TEST_F(BonusInPage, AdvertTextsAreNotSearchedForMarkers) {
    settings.HideBonusSections = 1;
    StoreAdvert(42, "RVX_BONUS_START Sale");
    const std::string page = Rewrite("RVX_VERSION");
    EXPECT_NE(page.find("RVX_BONUS_START Sale"), std::string::npos);
    EXPECT_EQ(page.find("<!--"), std::string::npos);
}

}  // namespace
}  // namespace quillmere::testing
