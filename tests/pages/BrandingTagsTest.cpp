#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "PageRewriteFixture.h"
#include "records/SiteAddresses.h"

namespace quillmere::testing {
namespace {

const std::string kClub = ClubSiteAddress;

using BrandingTags = PageRewriteTest;

TEST_F(BrandingTags, ResellerCopyGetsItsNumberAndSite) {
    settings.ResellerUrl.clear();
    EXPECT_EQ(Rewrite("RVX_SW_Editor RVX_SOFTWARE_LINK RVX_REPLACE_LINK"),
              " " + kClub + "/url/?p=Editor&r=42 " + kClub + "/url2/?r=42&u=http://ann.example");
    EXPECT_EQ(settings.ResellerName, "Ann's Books");
    EXPECT_EQ(settings.ResellerSite, "http://ann.example");
}

TEST_F(BrandingTags, ClubCopyIsNumberOneUnderTheClubsName) {
    for (std::int32_t id : {100000, 100001}) {
        SCOPED_TRACE(id);
        settings.ResellerId = id;
        settings.ResellerName = "Ann's Books";
        settings.ResellerSite = "http://ann.example";
        settings.ResellerUrl.clear();
        EXPECT_EQ(Rewrite("RVX_SW_Editor RVX_SOFTWARE_LINK RVX_REPLACE_LINK RVX_REPLACE_NAME"),
                  " " + kClub + "/url/?p=Editor&r=1 " + kClub + "/url2/?r=1 Corvane");
        // The overwritten values stay for later pages and the update form.
        EXPECT_EQ(settings.ResellerName, "Corvane");
        EXPECT_EQ(settings.ResellerSite, "");
    }
}

TEST_F(BrandingTags, ValueTagsAndBrindleLinkReplacedEverywhere) {
    EXPECT_EQ(
        Rewrite("RVX_REPLACE_NAME|RVX_REPLACE_EBOOKNAME|RVX_REPLACE_DESC|RVX_BRINDLE_LINK|"
                "RVX_REPLACE_NAME"),
        "Ann's Books|Garden Ways|All about gardens|" + kClub + "/brindle/42.html|Ann's Books");
}

TEST_F(BrandingTags, ValuesGoInByteForByte) {
    settings.ResellerName = "<b>A&B</b>";
    settings.ResellerSite = "http://x.example/?a=1&b=two words";
    EXPECT_EQ(Rewrite("RVX_REPLACE_NAME RVX_REPLACE_LINK"),
              "<b>A&B</b> " + kClub + "/url2/?r=42&u=http://x.example/?a=1&b=two words");
}

TEST_F(BrandingTags, TagsAreCaseSensitive) {
    const std::string page =
        "rvx_replace_name Rvx_Replace_Desc rvx_sw_Editor rvx_software_link rvx_bonus_start "
        "rvx_version_620_5_f/x rvx_showversion";
    EXPECT_EQ(Rewrite(page), page);
}

TEST_F(BrandingTags, LaterStepsRewriteInsertedValuesEarlierOnesDoNot) {
    settings.ResellerName = "[RVX_REPLACE_DESC]";
    settings.EbookDescription = "[RVX_REPLACE_NAME RVX_BONUS_START]";
    settings.HideBonusSections = 1;
    // The description lands inside the name's value and is itself rewritten by the bonus step;
    // the name tag it carries comes after the name step and stays.
    EXPECT_EQ(Rewrite("RVX_REPLACE_NAME"), "[[RVX_REPLACE_NAME <!--]]");
}

struct SoftwareCase {
    const char* name;
    std::string page;
    std::string resellerUrl;
    std::string expected;  // "@" stands for the club's address
};

class SoftwareTag : public PageRewriteTest, public ::testing::WithParamInterface<SoftwareCase> {};

TEST_P(SoftwareTag, TakesFirstTagAndPicksLinkVariant) {
    const SoftwareCase& c = GetParam();
    settings.ResellerUrl = c.resellerUrl;
    std::string expected;
    for (char ch : c.expected) {
        if (ch == '@') {
            expected += kClub;
        } else {
            expected += ch;
        }
    }
    EXPECT_EQ(Rewrite(c.page), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SoftwareTag,
    ::testing::Values(
        SoftwareCase{"DigitEndsEmptyName", "RVX_SW_9ab RVX_SOFTWARE_LINK", "",
                     "9ab @/brindle/42.html"},
        SoftwareCase{"SwallowsFollowingTagLetters", "RVX_SW_RVX_SOFTWARE_LINK RVX_SOFTWARE_LINK",
                     "", "_SOFTWARE_LINK @/url/?p=RVX&r=42"},
        SoftwareCase{"OnlyFirstTagTaken", "RVX_SW_One RVX_SW_Two RVX_SOFTWARE_LINK", "",
                     " RVX_SW_Two @/url/?p=One&r=42"},
        SoftwareCase{"UrlWithoutTagGivesEmptyName", "RVX_SOFTWARE_LINK", "http://u.example",
                     "@/url/?p=&r=42&u=http://u.example"},
        SoftwareCase{"UrlWithName", "RVX_SW_Tool.RVX_SOFTWARE_LINK", "http://u.example",
                     ".@/url/?p=Tool&r=42&u=http://u.example"},
        SoftwareCase{"HighByteEndsName",
                     "RVX_SW_Ab\xE9"
                     "c RVX_SOFTWARE_LINK",
                     "",
                     "\xE9"
                     "c @/url/?p=Ab&r=42"},
        SoftwareCase{"TagAtEndOfText", "RVX_SOFTWARE_LINK RVX_SW_Last", "", "@/url/?p=Last&r=42 "},
        SoftwareCase{"NoTagNoUrlGivesBrindleLink", "RVX_SOFTWARE_LINK", "", "@/brindle/42.html"}),
    [](const auto& info) { return std::string(info.param.name); });

// Reseller ids are taken modulo 2^32: the difference wraps instead of overflowing.
TEST_F(BrandingTags, ResellerNumberAtThirtyTwoBitLimits) {
    struct Case {
        std::int32_t id;
        std::string number;
    };
    const Case cases[] = {
        {0, "-100000"},
        {99999, "-1"},
        {INT32_MAX, "2147383647"},
        // -2147483648 - 100000 wraps to 2^32 - 2147583648 = 2147383648.
        {INT32_MIN, "2147383648"},
        {INT32_MIN + 99999, "2147483647"},
        // -2147383648 - 100000 is exactly INT32_MIN, no wrap.
        {INT32_MIN + 100000, "-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        settings.ResellerId = c.id;
        EXPECT_EQ(Rewrite("RVX_BRINDLE_LINK"), kClub + "/brindle/" + c.number + ".html");
    }
}

}  // namespace
}  // namespace quillmere::testing
