#pragma once

#include <cstdint>
#include <string>

namespace quillmere {

// Links to the club's site that carry the reseller's number. Values go in byte for byte: the pages
// put these links in contexts of their own choosing.

std::string BrindleLink(std::int32_t resellerNumber);

// With a reseller URL: p, r and u; else with a software name: p and r; else the brindle link.
std::string SoftwareLink(const std::string& softwareName, std::int32_t resellerNumber,
                         const std::string& resellerUrl);

// With a reseller site: r and u; else r alone.
std::string ResellerLink(std::int32_t resellerNumber, const std::string& resellerSite);

}  // namespace quillmere
