#include "pages/ClubLinks.h"

#include "records/SiteAddresses.h"

namespace quillmere {

std::string BrindleLink(std::int32_t resellerNumber) {
    return std::string(ClubSiteAddress) + "/brindle/" + std::to_string(resellerNumber) + ".html";
}

std::string SoftwareLink(const std::string& softwareName, std::int32_t resellerNumber,
                         const std::string& resellerUrl) {
    std::string base = std::string(ClubSiteAddress) + "/url/?p=" + softwareName +
                       "&r=" + std::to_string(resellerNumber);
    if (!resellerUrl.empty()) return base + "&u=" + resellerUrl;
    if (!softwareName.empty()) return base;
    return BrindleLink(resellerNumber);
}

std::string ResellerLink(std::int32_t resellerNumber, const std::string& resellerSite) {
    std::string link = std::string(ClubSiteAddress) + "/url2/?r=" + std::to_string(resellerNumber);
    if (!resellerSite.empty()) link += "&u=" + resellerSite;
    return link;
}

}  // namespace quillmere
