#pragma once

#include <cstdint>
#include <string>

namespace quillmere {

// The reseller's values and the ebook's title, taken from the branding record at start-up.
struct BrandingValues {
    std::int32_t ResellerId = 0;
    std::int32_t UpdateCodeSeed = 0;
    std::int32_t HideBonusSections = 0;
    std::string ResellerName;
    std::string ResellerSite;
    std::string ResellerUrl;
    std::string EbookTitle;
    std::string EbookDescription;
};

}  // namespace quillmere
