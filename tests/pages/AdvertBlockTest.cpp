#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PageRewriteFixture.h"

namespace quillmere::testing {
namespace {

constexpr const char* kUpdateTitle = "A New Version Of This Software Is Available";
constexpr const char* kAdvertHeading = "Please check out our latest offer...";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class AdvertBlock : public PageRewriteTest {
  protected:
    // A three-byte picture for advert 42.
    void StorePicture() {
        registry.SetDword(kAdvertStoreKey, "M42-V6", 1);
        registry.SetDword(kAdvertStoreKey, "M42-IMGSZ", 3);
        registry.Set(kAdvertStoreKey, "M42-IMG00", RegistryValueType::Binary, {1, 2, 3});
    }
};

TEST_F(AdvertBlock, UpdateThenSeparatorThenAdvertByteForByte) {
    settings.UpdateCodeSeed = 1000;
    StoreAdvert(42);
    StorePicture();
    StoreLatestVersions(" 620_7");
    const std::string page = Rewrite("<p>RVX_VERSION_620_5_aaa/bbb</p><p>RVX_SHOWVERSION</p>\n");

    std::ifstream file(
        std::string(QUILLMERE_SOURCE_DIR) + "/tests/pages/expected/update-and-advert.html",
        std::ios::binary);
    ASSERT_TRUE(file) << "expected page missing";
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(page, expected.str());
}

TEST_F(AdvertBlock, AdvertAloneWithoutPicture) {
    StoreAdvert(42, "T-RVX_QSADVERT_TEXT", "body", "http://l.example");
    const std::string page = InsertBlock("<p>RVX_VERSION_620_0_f/x</p>RVX_SHOWVERSION", 42);
    // The title names the text placeholder, which is filled after it.
    EXPECT_TRUE(Contains(page, "<STRONG>T-body</STRONG>"));
    EXPECT_TRUE(Contains(page, "<A href=\"http://l.example\" target=_blank>"));
    EXPECT_TRUE(Contains(page, "</STRONG>&nbsp;</DIV>"));
    EXPECT_FALSE(Contains(page, "advertimg.jpg"));
    EXPECT_FALSE(Contains(page, kUpdateTitle));
    EXPECT_EQ(page.rfind("<p><FONT face=Verdana><P align=center> <TABLE", 0), 0u);
    // Version 0: no version line, the placeholder is removed.
    EXPECT_EQ(page.substr(page.size() - 11), "</FONT></p>");
}

TEST_F(AdvertBlock, IncompleteOrSwitchedOffAdvertShowsNothing) {
    for (int missing = 1; missing <= 4; ++missing) {
        SCOPED_TRACE(missing);
        registry.keys.clear();
        StoreAdvert(42);
        if (missing == 1) {
            registry.SetDword(kAdvertStoreKey, "M42-V1", 0);
        } else {
            registry.SetString(kAdvertStoreKey, "M42-V" + std::to_string(missing), "");
        }
        EXPECT_EQ(InsertBlock("<p>RVX_VERSION_620_5_f/x</p> RVX_SHOWVERSION", 42),
                  "<p></p> Software Version 1.5");
    }
}

TEST_F(AdvertBlock, PageWithoutTagIsLeftAlone) {
    StoreAdvert(42);
    StoreLatestVersions(" 620_7");
    EXPECT_EQ(InsertBlock("RVX_SHOWVERSION rvx_version", 42), "RVX_SHOWVERSION rvx_version");
}

TEST_F(AdvertBlock, OnlyFirstTagReplacedAndEveryVersionLineFilled) {
    EXPECT_EQ(
        InsertBlock("RVX_SHOWVERSION RVX_VERSION_1_12_f/x RVX_VERSION_1_3_f/x RVX_SHOWVERSION", 42),
        "Software Version 1.12  RVX_VERSION_1_3_f/x Software Version 1.12");
}

TEST_F(AdvertBlock, VersionLineIsSignedAfterWrap) {
    // 2147483648 wraps to INT32_MIN when printed as a signed number.
    EXPECT_EQ(InsertBlock("RVX_VERSION_1_2147483648_f/x RVX_SHOWVERSION", 42),
              " Software Version 1.-2147483648");
}

struct ExclusionCase {
    std::string excluded;
    std::string product;
    bool advertShown;
};

TEST_F(AdvertBlock, ExclusionRemovesOnlyTheAdvert) {
    const ExclusionCase cases[] = {
        {"", "620", true},     {"621", "620", true},  {"62", "620", true},
        {"700", "700", false}, {"620", "620", false}, {"638", "638", false},
        {"620", "638", false}, {"638", "620", false}, {"620", "6380", true},
    };
    for (const ExclusionCase& c : cases) {
        SCOPED_TRACE(c.excluded + " / " + c.product);
        registry.keys.clear();
        StoreAdvert(42);
        if (!c.excluded.empty()) registry.SetString(kAdvertStoreKey, "M42-V7", c.excluded);
        StoreLatestVersions(" " + c.product + "_9");
        const std::string page = InsertBlock("RVX_VERSION_" + c.product + "_5_f/x", 42);
        EXPECT_EQ(Contains(page, kAdvertHeading), c.advertShown);
        EXPECT_EQ(Contains(page, "<BR><BR><BR>"), c.advertShown);
        EXPECT_TRUE(Contains(page, kUpdateTitle));
        EXPECT_EQ(page.rfind("<FONT face=Verdana><P align=center><TABLE", 0), 0u);
    }
}

TEST_F(AdvertBlock, UpdateNeedsEveryTagField) {
    StoreLatestVersions(" 620_9");
    const std::string pages[] = {"RVX_VERSION_620_5_f/", "RVX_VERSION_620_5_/x ",
                                 "RVX_VERSION_620_0_f/x", "RVX_VERSION__5_f/x", "RVX_VERSION"};
    for (const std::string& page : pages) {
        SCOPED_TRACE(page);
        EXPECT_FALSE(Contains(InsertBlock(page, 42), kUpdateTitle));
    }
    EXPECT_TRUE(Contains(InsertBlock("RVX_VERSION_620_5_f/x", 42), kUpdateTitle));
}

// The advert number picks the store values: negative numbers read advert 1, and the form posts
// the number actually used.
TEST_F(AdvertBlock, NegativeAdvertNumberReadsAdvertOne) {
    StoreAdvert(1);
    StoreLatestVersions(" 620_9");
    const std::string page = InsertBlock("RVX_VERSION_620_5_f/x", -5);
    EXPECT_TRUE(Contains(page, kAdvertHeading));
    EXPECT_TRUE(Contains(page, "NAME='m' VALUE='1'"));
}

TEST_F(AdvertBlock, AdvertNumberFollowsResellerIdThroughThePass) {
    struct Case {
        std::int32_t resellerId;
        std::int32_t advertNumber;
    };
    const Case cases[] = {
        {100000, 0},  // the club's copy links as number 1 but reads advert 0
        {100042, 42},
        {5, 1},                   // negative difference
        {INT32_MIN, 2147383648},  // wraps to a positive number
        {INT32_MAX, 2147383647},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resellerId);
        registry.keys.clear();
        settings.ResellerId = c.resellerId;
        StoreAdvert(c.advertNumber, "Advert " + std::to_string(c.advertNumber));
        EXPECT_TRUE(Contains(Rewrite("RVX_VERSION"), "Advert " + std::to_string(c.advertNumber)));
    }
}

struct UpdateCase {
    const char* list;
    const char* code;
    std::uint32_t version;
    bool available;
};

TEST(IsUpdateAvailable, ComparesFirstMatchingEntryUnsigned) {
    const UpdateCase cases[] = {
        {" 620_7", "620", 5, true},
        {" 620_5", "620", 5, false},
        {" 620_4", "620", 5, false},
        {"620_7", "620", 5, false},           // no leading space: never found
        {" 700_1 620_12x", "620", 11, true},  // digits end at any other byte
        {" 6201_9", "620", 5, false},
        {" 620_3 620_9", "620", 5, false},  // only the first entry counts
        {" 620_", "620", 5, false},
        {"", "620", 5, false},
        {" 620_3000000000", "620", 5, true},    // above INT32_MAX, still larger unsigned
        {" 620_5", "620", 0x80000000u, false},  // negative if signed, larger unsigned
        // 4294967301 wraps to 5 while accumulating.
        {" 620_4294967301", "620", 4, true},
        {" 620_4294967301", "620", 5, false},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " / " + std::to_string(c.version));
        EXPECT_EQ(IsUpdateAvailable(c.code, c.version, c.list), c.available);
    }
}

}  // namespace
}  // namespace quillmere::testing
