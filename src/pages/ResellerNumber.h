#pragma once

#include <cstdint>

namespace quillmere {

// Reseller numbers count from this offset in the branding record.
inline constexpr std::uint32_t kResellerIdOffset = 100000;

// ResellerId - 100000 with 32-bit wrap-around, as the club's server expects for any record value.
inline std::int32_t AdvertNumberFor(std::int32_t resellerId) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(resellerId) - kResellerIdOffset);
}

// The number the club links carry: the club's own copy (difference 0) counts as reseller 1.
inline std::int32_t ResellerNumberFor(std::int32_t resellerId) {
    const std::int32_t number = AdvertNumberFor(resellerId);
    return number == 0 ? 1 : number;
}

}  // namespace quillmere
