#include "pages/ReplaceAll.h"
#include "pages/RewritePage.h"

namespace quillmere {

// Hidden bonus parts become HTML comments. The markers are replaced independently: nothing pairs
// them, so a stray marker yields a stray comment opener or closer, as the page's author wrote it.
void ApplyBonusMarkers(std::string& text, std::int32_t hideBonusSections, const LeadBytes& lead,
                       ReplaceBuffers& buffers) {
    const bool hide = hideBonusSections != 0;
    ReplaceAll(text, "RVX_BONUS_START", hide ? "<!--" : "", lead, buffers);
    ReplaceAll(text, "RVX_BONUS_END", hide ? "-->" : "", lead, buffers);
}

}  // namespace quillmere
