// The whole rewriting pass on one page: every step in order, in a double-byte code page, and the
// advert store read once for every page.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "PageRewriteFixture.h"

namespace quillmere::testing {
namespace {

// The advert box for "Big Sale" / "Half price" / "http://sale.example" with its picture, as the
// reviewed page of the update-and-advert case holds it.
std::string ExpectedAdvertBox() {
    std::ifstream file(
        std::string(QUILLMERE_SOURCE_DIR) + "/tests/pages/expected/update-and-advert.html",
        std::ios::binary);
    std::stringstream page;
    page << file.rdbuf();
    const std::string text = page.str();
    const std::string separator = "<BR><BR><BR><FONT face=Verdana><P align=center> <TABLE";
    const std::size_t begin = text.find(separator);
    const std::size_t end = text.rfind("</p><p>Software Version");
    if (begin == std::string::npos || end == std::string::npos) return "missing";
    return text.substr(begin + 12, end - (begin + 12));
}

class WholePage : public PageRewriteTest {
  protected:
    void StorePicture() {
        registry.SetDword(kAdvertStoreKey, "M42-V6", 1);
        registry.SetDword(kAdvertStoreKey, "M42-IMGSZ", 3);
        registry.Set(kAdvertStoreKey, "M42-IMG00", RegistryValueType::Binary, {1, 2, 3});
    }
};

// In Shift-JIS a trail byte may be any of "R", "\" or "@": a tag right after a lead byte is part
// of a character and must stay, while a tag after a whole character is replaced.
TEST_F(WholePage, EveryStepReadsShiftJisCharacterByCharacter) {
    lead = LeadBytes(932);
    settings.HideBonusSections = 1;
    StoreAdvert(42);
    StorePicture();
    StoreLatestVersions(" 620_5");  // not newer: no update notice

    const std::string page =
        "<p>\x95\x5CRVX_REPLACE_NAME</p>"
        "<p>\x83RVX_REPLACE_NAME</p>"
        "<p>RVX_REPLACE_EBOOKNAME\x82\xA0RVX_REPLACE_DESC</p>"
        "<a href='RVX_BRINDLE_LINK'>\x83\x5C</a>"
        "\x81RVX_SW_Hidden RVX_SW_Tool\x82\xA0"
        "<a href='RVX_SOFTWARE_LINK'><a href='RVX_REPLACE_LINK'>"
        "RVX_BONUS_START\x88\x9F\x83RVX_BONUS_END RVX_BONUS_END"
        "<p>\x82RVX_VERSION_1_2_f/x </p>"
        "<p>\x88\x9FRVX_VERSION_620_5_aaa/bbb</p>"
        "<p>RVX_SHOWVERSION \x81RVX_SHOWVERSION</p>";

    const std::string expected =
        "<p>\x95\x5C"
        "Ann's Books</p>"
        "<p>\x83RVX_REPLACE_NAME</p>"
        "<p>Garden Ways\x82\xA0"
        "All about gardens</p>"
        "<a href='http://www.corvane-club.net/brindle/42.html'>\x83\x5C</a>"
        "\x81RVX_SW_Hidden \x82\xA0"
        "<a href='http://www.corvane-club.net/url/?p=Tool&r=42'>"
        "<a href='http://www.corvane-club.net/url2/?r=42&u=http://ann.example'>"
        "<!--\x88\x9F\x83RVX_BONUS_END -->"
        "<p>\x82RVX_VERSION_1_2_f/x </p>"
        "<p>\x88\x9F" +
        ExpectedAdvertBox() +
        "</p>"
        "<p>Software Version 1.5 \x81RVX_SHOWVERSION</p>";

    EXPECT_EQ(Rewrite(page), expected);
    EXPECT_EQ(image.size, 3u);
}

// Counts the opens of the advert store key.
class CountingRegistry : public MemoryRegistry {
  public:
    std::unique_ptr<RegistryKey> OpenKeyForQuery(std::string_view subkey) override {
        if (subkey == kAdvertStoreKey) ++storeOpens;
        return MemoryRegistry::OpenKeyForQuery(subkey);
    }
    int storeOpens = 0;
};

TEST_F(WholePage, TheAdvertStoreIsReadForEveryPageTagOrNot) {
    CountingRegistry store;
    PageRewriteContext ctx{settings, store, image, lead};
    store.SetDword(kAdvertStoreKey, "M42-V6", 1);
    store.SetDword(kAdvertStoreKey, "M42-IMGSZ", 3);
    store.Set(kAdvertStoreKey, "M42-IMG00", RegistryValueType::Binary, {7, 8, 9});

    std::string plain = "<p>no tags at all</p>";
    RewritePage(plain, ctx);
    EXPECT_EQ(store.storeOpens, 1);
    EXPECT_EQ(plain, "<p>no tags at all</p>");
    ASSERT_EQ(image.size, 3u);  // the picture comes from a page without a tag
    EXPECT_EQ(image.bytes[2], 9);

    std::string tagged = "<p>RVX_VERSION_620_5_f/x </p>";
    RewritePage(tagged, ctx);
    EXPECT_EQ(store.storeOpens, 2);

    // The picture is gone from the store before the next tagless page: that page's read drops it.
    store.SetDword(kAdvertStoreKey, "M42-V6", 0);
    std::string another = "<p>still no tags</p>";
    RewritePage(another, ctx);
    EXPECT_EQ(store.storeOpens, 3);
    EXPECT_EQ(image.size, 0u);
}

}  // namespace
}  // namespace quillmere::testing
