#pragma once

#include <cstdint>
#include <string>

#include "pages/AdvertStore.h"
#include "pages/ReplaceAll.h"
#include "platform/LeadBytes.h"
#include "platform/Registry.h"
#include "records/BrandingSettings.h"

namespace quillmere {

// What rewriting a page reads and may change.
struct PageRewriteContext {
    BrandingValues& settings;        // ResellerName and ResellerSite may be overwritten
    Registry& registry;              // the advert store
    AdvertImageBuffer& advertImage;  // filled by every read of the store
    LeadBytes leadBytes;
    ReplaceBuffers buffers{};  // kept from page to page, so pages reuse their memory
};

// Every rewriting step in order: branding tags, bonus sections, advert/update/version block.
void RewritePage(std::string& text, PageRewriteContext& ctx);

void ApplyBonusMarkers(std::string& text, std::int32_t hideBonusSections, const LeadBytes& lead,
                       ReplaceBuffers& buffers);
void InsertAdvertBlock(std::string& text, std::int32_t advertNumber, PageRewriteContext& ctx);
bool IsUpdateAvailable(const std::string& productCode, std::uint32_t versionNumber,
                       const std::string& latestVersions);
std::string BuildUpdateBlock(std::int32_t advertNumber, const std::string& f, const std::string& x,
                             const BrandingValues& settings, const LeadBytes& lead);
std::int32_t ComputeUpdateRequestCode(std::int32_t seed, const std::string& text);

}  // namespace quillmere
