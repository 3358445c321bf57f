#include "pages/AdvertTemplates.h"
#include "pages/ReplaceAll.h"
#include "pages/RewritePage.h"
#include "pages/UpdateForm.h"

namespace quillmere {

std::string BuildUpdateBlock(std::int32_t advertNumber, const std::string& f, const std::string& x,
                             const BrandingValues& settings, const LeadBytes& lead) {
    UpdateFormValues values;
    values.m = advertNumber;
    values.b = ComputeUpdateRequestCode(
        settings.UpdateCodeSeed,
        settings.ResellerName + settings.ResellerSite + settings.EbookTitle);
    values.f = f;
    values.x = x;
    values.webname = settings.ResellerName;
    values.weburl = settings.ResellerSite;
    values.swname = settings.EbookTitle;

    std::string block(kUpdateNoticeTemplate);
    ReplaceAll(block, "RVX_BUTTON", FillUpdateForm(values), lead);
    return block;
}

}  // namespace quillmere
