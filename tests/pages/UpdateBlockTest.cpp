#include <gtest/gtest.h>

#include <string>

#include "PageRewriteFixture.h"
#include "records/SiteAddresses.h"

namespace quillmere::testing {
namespace {

struct CodeCase {
    std::int32_t seed;
    std::string text;
    std::int32_t expected;
};

TEST(UpdateRequestCode, KnownValues) {
    const CodeCase cases[] = {
        // k = 0: h = (0 + 0 + 763912) * 500 + 0 + 173 = 381956173.
        {0, "", 381956173},
        // k = 1000: 1000 mod 37 = 1, 1000 mod 827 = 173;
        // h = (1000 + 1 + 763912) * 500 + 173 + 173 = 382456846.
        // 'A' = 65: 65 rem 37 = 28, 28 * 37 = 1036 -> 382457882; weight 34.
        // 'b' = 98: 98 rem 34 = 30, 30 * 34 = 1020 -> 382458902.
        {1000, "Ab", 382458902},
        // 0xFF is -1: -1 rem 37 = -1, -1 * 37 = -37 -> 381956173 - 37.
        {0, "\xFF", 381956136},
        // Twelve 'a' (97) under weights 37 34 31 28 25 22 19 16 13 10 7 29:
        // 23*37 + 29*34 + 4*31 + 13*28 + 22*25 + 9*22 + 2*19 + 1*16 + 6*13 + 7*10 + 6*7 + 10*29
        // = 851 + 986 + 124 + 364 + 550 + 198 + 38 + 16 + 78 + 70 + 42 + 290 = 3607.
        {0, std::string(12, 'a'), 381956173 + 3607},
        // k = 2^32 - 1: mod 37 = 6, mod 827 = 685; k + 6 + 763912 wraps to 763917;
        // 763917 * 500 + 685 + 173 = 381959358.
        {-1, "", 381959358},
        // k = 2000000000: mod 37 = 2, mod 827 = 567; 2000763914 * 500 = 1000381957000, which
        // wraps to 1000381957000 - 232 * 2^32 = 3949544328; + 567 + 173 = 3949545068,
        // as a signed number 3949545068 - 2^32 = -345422228.
        {2000000000, "", -345422228},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.seed);
        EXPECT_EQ(ComputeUpdateRequestCode(c.seed, c.text), c.expected);
    }
}

using UpdateBlock = PageRewriteTest;

TEST_F(UpdateBlock, FormPostsEveryFieldInOrder) {
    settings.ResellerName = "Ann";
    settings.ResellerSite = "http://ann.example";
    settings.EbookTitle = "Garden";
    settings.UpdateCodeSeed = 1000;
    const std::int32_t code =
        ComputeUpdateRequestCode(1000, std::string("Ann") + "http://ann.example" + "Garden");
    const std::string expectedForm =
        std::string("<FORM target=_blank action='") + UpdateFormAddress +
        "' METHOD=POST>"
        "<input type=hidden NAME='m' VALUE='7'>"
        "<input type=hidden NAME='b' VALUE='" +
        std::to_string(code) +
        "'>"
        "<input type=hidden NAME='f' VALUE='ff'>"
        "<input type=hidden NAME='x' VALUE='xx'>"
        "<input type=hidden NAME='webname' VALUE='Ann'>"
        "<input type=hidden NAME='weburl' VALUE='http://ann.example'>"
        "<input type=hidden NAME='qswebname' VALUE=''>"
        "<input type=hidden NAME='qsweburl' VALUE=''>"
        "<input type=hidden NAME='swname' VALUE='Garden'>"
        "<INPUT TYPE=Submit Value='Click Here To Download The New Version'></FORM>";

    const std::string block = BuildUpdateBlock(7, "ff", "xx", settings, lead);
    const std::size_t at = block.find(expectedForm);
    ASSERT_NE(at, std::string::npos) << block;
    EXPECT_EQ(block.find("RVX_BUTTON"), std::string::npos);
    EXPECT_EQ(block.substr(at - 3, 3), "<P>");
    EXPECT_EQ(block.substr(at + expectedForm.size(), 8), "<BR><BR>");
}

// A quote in a value would end the attribute and post a truncated value; the browser decodes the
// entities, so the server receives the value as it was given. The request code still covers the
// raw values.
TEST_F(UpdateBlock, FormValuesAreAttributeSafe) {
    settings.ResellerName = "Ann's <Books> & \"More\"";
    settings.ResellerSite = "http://a.example/?p=1&q=2";
    settings.EbookTitle = "It's";
    const std::string block = BuildUpdateBlock(1, "a'b", "c&d", settings, lead);
    EXPECT_NE(block.find("NAME='webname' VALUE='Ann&#39;s &lt;Books&gt; &amp; &quot;More&quot;'>"),
              std::string::npos);
    EXPECT_NE(block.find("NAME='weburl' VALUE='http://a.example/?p=1&amp;q=2'>"),
              std::string::npos);
    EXPECT_NE(block.find("NAME='swname' VALUE='It&#39;s'>"), std::string::npos);
    EXPECT_NE(block.find("NAME='f' VALUE='a&#39;b'>"), std::string::npos);
    EXPECT_NE(block.find("NAME='x' VALUE='c&amp;d'>"), std::string::npos);
    const std::int32_t code = ComputeUpdateRequestCode(
        0, settings.ResellerName + settings.ResellerSite + settings.EbookTitle);
    EXPECT_NE(block.find("NAME='b' VALUE='" + std::to_string(code) + "'>"), std::string::npos);
}

}  // namespace
}  // namespace quillmere::testing
