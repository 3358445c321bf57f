#include "pages/AdvertTemplates.h"
#include "pages/ReplaceAll.h"
#include "pages/RewritePage.h"
#include "pages/VersionTag.h"

namespace quillmere {

namespace {

bool IsPairedProduct(const std::string& code) { return code == "620" || code == "638"; }

std::string AdvertBox(const AdvertRecord& advert, bool hasPicture, const LeadBytes& lead) {
    std::string box(kAdvertTemplate);
    // In this order, so a title that names a later placeholder gets that value.
    ReplaceAll(box, "RVX_QSADVERT_TITLE", advert.title, lead);
    ReplaceAll(box, "RVX_QSADVERT_TEXT", advert.text, lead);
    ReplaceAll(box, "RVX_QSADVERT_LINK", advert.link, lead);
    ReplaceAll(box, "RVX_QSADVERT_IMAGE", hasPicture ? kAdvertPictureFragment : "", lead);
    return box;
}

}  // namespace

void InsertAdvertBlock(std::string& text, std::int32_t advertNumber, PageRewriteContext& ctx) {
    const LeadBytes& lead = ctx.leadBytes;
    if (advertNumber < 0) advertNumber = 1;
    // The store is read for every page, tag or not: the last read decides the advert picture.
    const AdvertRecord advert = ReadAdvertStore(ctx.registry, advertNumber, ctx.advertImage);

    const std::optional<VersionTag> tag = ParseVersionTag(text, lead);
    if (!tag) return;

    std::string block;
    if (advert.enabled != 0 && !advert.title.empty() && !advert.text.empty() &&
        !advert.link.empty()) {
        block = AdvertBox(advert, ctx.advertImage.size != 0, lead);
    }
    if (!advert.excludedProduct.empty() && advert.excludedProduct == tag->productCode) {
        block.clear();
    }
    // 620 and 638 are one product as far as adverts go.
    if (IsPairedProduct(advert.excludedProduct) && IsPairedProduct(tag->productCode)) {
        block.clear();
    }

    if (!tag->productCode.empty() && tag->versionNumber != 0 && !tag->f.empty() &&
        !tag->x.empty() &&
        IsUpdateAvailable(tag->productCode, tag->versionNumber, advert.latestVersions)) {
        if (!block.empty()) block.insert(0, kUpdateAdvertSeparator);
        block.insert(0, BuildUpdateBlock(advertNumber, tag->f, tag->x, ctx.settings, lead));
    }

    text.replace(tag->begin, tag->end - tag->begin, block);

    const std::string versionLine =
        tag->versionNumber != 0
            ? "Software Version 1." + std::to_string(static_cast<std::int32_t>(tag->versionNumber))
            : std::string();
    ReplaceAll(text, "RVX_SHOWVERSION", versionLine, lead, ctx.buffers);
}

bool IsUpdateAvailable(const std::string& productCode, std::uint32_t versionNumber,
                       const std::string& latestVersions) {
    const std::string key = " " + productCode + "_";
    std::size_t i = latestVersions.find(key);
    if (i == std::string::npos) return false;
    std::uint32_t latest = 0;
    for (i += key.size(); i < latestVersions.size(); ++i) {
        const char c = latestVersions[i];
        if (c < '0' || c > '9') break;
        latest = latest * 10u + static_cast<std::uint32_t>(c - '0');
    }
    return versionNumber < latest;
}

}  // namespace quillmere
