#include "pages/RewritePage.h"

#include "pages/ClubLinks.h"
#include "pages/ReplaceAll.h"
#include "pages/ResellerNumber.h"
#include "pages/SoftwareTag.h"
#include "records/SiteAddresses.h"

namespace quillmere {

void RewritePage(std::string& text, PageRewriteContext& ctx) {
    BrandingValues& settings = ctx.settings;
    const LeadBytes& lead = ctx.leadBytes;

    const std::int32_t resellerNumber = ResellerNumberFor(settings.ResellerId);
    // The club's own copy speaks in the club's name and links to no reseller site; the change
    // stays for later pages and for the update form.
    if (resellerNumber == 1) {
        settings.ResellerName = kClubName;
        settings.ResellerSite.clear();
    }

    ReplaceBuffers& buffers = ctx.buffers;
    ReplaceAll(text, "RVX_REPLACE_NAME", settings.ResellerName, lead, buffers);
    ReplaceAll(text, "RVX_REPLACE_EBOOKNAME", settings.EbookTitle, lead, buffers);
    ReplaceAll(text, "RVX_REPLACE_DESC", settings.EbookDescription, lead, buffers);
    ReplaceAll(text, "RVX_BRINDLE_LINK", BrindleLink(resellerNumber), lead, buffers);

    const std::string softwareName = TakeSoftwareTag(text, lead);
    ReplaceAll(text, "RVX_SOFTWARE_LINK",
               SoftwareLink(softwareName, resellerNumber, settings.ResellerUrl), lead, buffers);
    ReplaceAll(text, "RVX_REPLACE_LINK", ResellerLink(resellerNumber, settings.ResellerSite), lead,
               buffers);

    ApplyBonusMarkers(text, settings.HideBonusSections, lead, buffers);
    InsertAdvertBlock(text, AdvertNumberFor(settings.ResellerId), ctx);
}

}  // namespace quillmere
