// One page through the whole rewriting pass. The input is zero-terminated fields: the code page
// (its first byte picks one), the reseller's number, the update seed, the bonus switch, the
// reseller's name, site and second address, the title, the description, the advert store (see
// FillAdvertStore), then the page, which ends at its first zero byte as an extracted page does.
#include <cstdint>
#include <memory>
#include <string>

#include "AdvertStoreText.h"
#include "FuzzInput.h"
#include "pages/AdvertStore.h"
#include "pages/RewritePage.h"
#include "platform/LeadBytes.h"
#include "records/BrandingSettings.h"
#include "support/FakePlatform.h"

namespace {

constexpr unsigned kCodePages[] = {1252, 65001, 932, 936, 949, 950};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillmere;
    fuzzing::FuzzFields fields(data, size);
    const std::string codePage = fields.Next();
    const unsigned cp =
        kCodePages[codePage.empty() ? 0 : static_cast<unsigned char>(codePage[0]) % 6];

    BrandingValues settings;
    settings.ResellerId = static_cast<std::int32_t>(fuzzing::ParseNumber(fields.Next()));
    settings.UpdateCodeSeed = static_cast<std::int32_t>(fuzzing::ParseNumber(fields.Next()));
    settings.HideBonusSections = static_cast<std::int32_t>(fuzzing::ParseNumber(fields.Next()));
    settings.ResellerName = fields.Next();
    settings.ResellerSite = fields.Next();
    settings.ResellerUrl = fields.Next();
    settings.EbookTitle = fields.Next();
    settings.EbookDescription = fields.Next();

    testing::MemoryRegistry registry;
    fuzzing::FillAdvertStore(registry, fields.Next());
    std::string page = fields.Next();

    // The picture buffer is large; keep it off the stack.
    auto image = std::make_unique<AdvertImageBuffer>();
    PageRewriteContext ctx{settings, registry, *image, LeadBytes(cp)};
    const std::string original = page;
    RewritePage(page, ctx);
    FUZZ_CHECK(image->size <= kAdvertImageCapacity);
    // Every tag begins so; a page without one leaves the pass as it came.
    if (original.find("RVX_") == std::string::npos) FUZZ_CHECK(page == original);
    return 0;
}
