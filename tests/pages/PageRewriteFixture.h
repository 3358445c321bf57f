#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "pages/AdvertStore.h"
#include "pages/RewritePage.h"
#include "records/BrandingSettings.h"
#include "support/FakePlatform.h"

namespace quillmere::testing {

// A reseller's settings, an advert store in memory and a picture buffer of the test's own.
class PageRewriteTest : public ::testing::Test {
  protected:
    PageRewriteTest() {
        settings.ResellerId = 100042;
        settings.ResellerName = "Ann's Books";
        settings.ResellerSite = "http://ann.example";
        settings.EbookTitle = "Garden Ways";
        settings.EbookDescription = "All about gardens";
    }

    std::string Rewrite(std::string text) {
        PageRewriteContext ctx{settings, registry, image, lead};
        RewritePage(text, ctx);
        return text;
    }

    std::string InsertBlock(std::string text, std::int32_t advertNumber) {
        PageRewriteContext ctx{settings, registry, image, lead};
        InsertAdvertBlock(text, advertNumber, ctx);
        return text;
    }

    std::string Prefix(std::int32_t advertNumber) const {
        return "M" + std::to_string(advertNumber) + "-";
    }

    // A complete, switched-on advert for `advertNumber`.
    void StoreAdvert(std::int32_t advertNumber, std::string_view title = "Big Sale",
                     std::string_view text = "Half price",
                     std::string_view link = "http://sale.example") {
        const std::string p = Prefix(advertNumber);
        registry.SetDword(kAdvertStoreKey, p + "V1", 1);
        registry.SetString(kAdvertStoreKey, p + "V2", title);
        registry.SetString(kAdvertStoreKey, p + "V3", text);
        registry.SetString(kAdvertStoreKey, p + "V4", link);
    }

    void StoreLatestVersions(std::string_view list) {
        registry.SetString(kAdvertStoreKey, "SWUPD", list);
    }

    BrandingValues settings;
    MemoryRegistry registry;
    AdvertImageBuffer image;
    LeadBytes lead;
};

}  // namespace quillmere::testing
