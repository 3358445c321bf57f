#include <gtest/gtest.h>

#include <string>

#include "pages/VersionTag.h"

namespace quillmere {
namespace {

struct TagCase {
    const char* name;
    std::string text;
    std::string tag;  // the bytes the tag occupies
    std::string productCode;
    std::uint32_t version;
    std::string f;
    std::string x;
};

class ParseVersionTagCases : public ::testing::TestWithParam<TagCase> {};

TEST_P(ParseVersionTagCases, FieldsAndExtent) {
    const TagCase& c = GetParam();
    const auto tag = ParseVersionTag(c.text, LeadBytes());
    ASSERT_TRUE(tag.has_value());
    EXPECT_EQ(c.text.substr(tag->begin, tag->end - tag->begin), c.tag);
    EXPECT_EQ(tag->productCode, c.productCode);
    EXPECT_EQ(tag->versionNumber, c.version);
    EXPECT_EQ(tag->f, c.f);
    EXPECT_EQ(tag->x, c.x);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseVersionTagCases,
    ::testing::Values(
        TagCase{"AllFields", "a RVX_VERSION_620_5_aaa/bbb c", "RVX_VERSION_620_5_aaa/bbb", "620", 5,
                "aaa", "bbb"},
        TagCase{"NoUnderscoreIsBareWord", "RVX_VERSION-620_5_f/x", "RVX_VERSION", "", 0, "", ""},
        // '<' right after the version is skipped as a separator: the tag eats "BR>more text".
        TagCase{"LessThanAfterVersion", "RVX_VERSION_620_5<BR>more text here",
                "RVX_VERSION_620_5<BR>more text", "620", 5, "BR>more", "text"},
        TagCase{"UnderscoresInF", "RVX_VERSION_620_5_a_b_c/xyz rest", "RVX_VERSION_620_5_a_b_c/xyz",
                "620", 5, "a_b_c", "xyz"},
        TagCase{"XRunsThroughPunctuation", "RVX_VERSION_1_2_f/x]|-->z rest",
                "RVX_VERSION_1_2_f/x]|-->z", "1", 2, "f", "x]|-->z"},
        TagCase{"XEndsAtSlash", "RVX_VERSION_1_2_f/x/rest", "RVX_VERSION_1_2_f/x", "1", 2, "f",
                "x"},
        TagCase{"XEndsAtLessThan", "RVX_VERSION_1_2_f/x<p>", "RVX_VERSION_1_2_f/x", "1", 2, "f",
                "x"},
        TagCase{"XEndsAtControlByte", "RVX_VERSION_1_2_f/x\tz", "RVX_VERSION_1_2_f/x", "1", 2, "f",
                "x"},
        TagCase{"XEndsAtHighByte", "RVX_VERSION_1_2_f/x\x80z", "RVX_VERSION_1_2_f/x", "1", 2, "f",
                "x"},
        TagCase{"DelByteIsValueByte", "RVX_VERSION_1_2_f\x7F/x ", "RVX_VERSION_1_2_f\x7F/x", "1", 2,
                "f\x7F", "x"},
        TagCase{"EndsAfterVersion", "RVX_VERSION_620_5", "RVX_VERSION_620_5", "620", 5, "", ""},
        TagCase{"EndsAfterUnderscore", "x RVX_VERSION_", "RVX_VERSION_", "", 0, "", ""},
        TagCase{"WordAtEnd", "x RVX_VERSION", "RVX_VERSION", "", 0, "", ""},
        TagCase{"MissingVersion", "RVX_VERSION_620__f/x ", "RVX_VERSION_620__f/x", "620", 0, "f",
                "x"},
        // 99999999999 mod 2^32 = 99999999999 - 23 * 4294967296 = 1215752191.
        TagCase{"VersionWraps", "RVX_VERSION_1_99999999999_f/x ", "RVX_VERSION_1_99999999999_f/x",
                "1", 1215752191u, "f", "x"},
        TagCase{"OnlyFirstTag", "RVX_VERSION_1_2_f/x RVX_VERSION_3_4_g/y", "RVX_VERSION_1_2_f/x",
                "1", 2, "f", "x"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseVersionTag, AbsentOrBehindLeadByteIsNoTag) {
    EXPECT_FALSE(ParseVersionTag("RVX_SHOWVERSION rvx_version", LeadBytes()).has_value());
    EXPECT_FALSE(ParseVersionTag("\x82RVX_VERSION_1_2_f/x ", LeadBytes(932)).has_value());
    EXPECT_TRUE(ParseVersionTag("\x82RVX_VERSION_1_2_f/x ", LeadBytes()).has_value());
}

}  // namespace
}  // namespace quillmere
