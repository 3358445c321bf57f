#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace quillmere {

inline constexpr const char* kAdvertStoreKey = "SOFTWARE\\Tallowbrook\\Adverts";
inline constexpr std::uint32_t kAdvertImageCapacity = 24576;
inline constexpr std::uint32_t kAdvertChunkSize = 2000;

// One read of the advert store: fields stay 0 or empty when a value is missing or not accepted.
struct AdvertRecord {
    std::int32_t enabled = 0;
    std::int32_t hasImage = 0;
    std::string title;
    std::string text;
    std::string link;
    std::string reserved;
    std::string excludedProduct;
    std::string latestVersions;
};

// The advert picture; size 0 means there is none.
struct AdvertImageBuffer {
    std::uint8_t bytes[kAdvertImageCapacity] = {};
    std::uint32_t size = 0;
};

// Reads the values of advert number `advertNumber` and the shared latest-versions list; updates
// `image` unless the key cannot be opened. Never fails, never reports.
AdvertRecord ReadAdvertStore(Registry& registry, std::int32_t advertNumber,
                             AdvertImageBuffer& image);

}  // namespace quillmere
