#include "pages/AdvertStore.h"

#include <cstdio>
#include <cstring>

namespace quillmere {

namespace {

constexpr std::uint32_t kTextBufferSize = 800;

std::string ValueName(const std::string& prefix, const char* suffix) { return prefix + suffix; }

// A REG_DWORD of exactly four bytes.
bool ReadNumber(RegistryKey& key, const std::string& name, std::uint32_t& value) {
    std::uint8_t bytes[4] = {};
    RegistryValueType type = RegistryValueType::None;
    std::uint32_t size = sizeof bytes;
    if (key.QueryValue(name, type, bytes, size) != kRegistrySuccess) return false;
    if (type != RegistryValueType::Dword || size != sizeof bytes) return false;
    value = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
            (static_cast<std::uint32_t>(bytes[2]) << 16) |
            (static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
}

// A REG_SZ of 2 to 800 bytes; its last byte is taken as the terminator whatever it holds.
bool ReadText(RegistryKey& key, const std::string& name, std::string& text) {
    char buffer[kTextBufferSize];
    RegistryValueType type = RegistryValueType::None;
    std::uint32_t size = kTextBufferSize;
    if (key.QueryValue(name, type, buffer, size) != kRegistrySuccess) return false;
    if (type != RegistryValueType::String || size < 2 || size > kTextBufferSize) return false;
    buffer[size - 1] = '\0';
    text.assign(buffer, std::strlen(buffer));
    return true;
}

void ReadPicture(RegistryKey& key, const std::string& prefix, AdvertImageBuffer& image) {
    std::uint32_t declared = 0;
    if (!ReadNumber(key, ValueName(prefix, "IMGSZ"), declared)) return;
    if (declared >= kAdvertImageCapacity) return;
    image.size = declared;
    std::uint32_t remaining = declared;
    for (int index = 0; remaining > 0; ++index) {
        const std::uint32_t chunk = remaining < kAdvertChunkSize ? remaining : kAdvertChunkSize;
        char suffix[16];
        static_cast<void>(std::snprintf(suffix, sizeof suffix, "IMG%02d", index));
        RegistryValueType type = RegistryValueType::None;
        std::uint32_t size = chunk;
        RegistryStatus status =
            key.QueryValue(ValueName(prefix, suffix), type,
                           image.bytes + static_cast<std::size_t>(index) * kAdvertChunkSize, size);
        if (status != kRegistrySuccess || type != RegistryValueType::Binary || size != chunk) {
            image.size = 0;
            return;
        }
        remaining -= chunk;
    }
}

}  // namespace

AdvertRecord ReadAdvertStore(Registry& registry, std::int32_t advertNumber,
                             AdvertImageBuffer& image) {
    char prefixText[24];
    static_cast<void>(
        std::snprintf(prefixText, sizeof prefixText, "M%d-", static_cast<int>(advertNumber)));
    const std::string prefix = prefixText;

    AdvertRecord record;
    auto key = registry.OpenKeyForQuery(kAdvertStoreKey);
    if (!key) return record;

    std::uint32_t number = 0;
    if (ReadNumber(*key, ValueName(prefix, "V1"), number)) {
        record.enabled = static_cast<std::int32_t>(number);
    }
    ReadText(*key, ValueName(prefix, "V2"), record.title);
    ReadText(*key, ValueName(prefix, "V3"), record.text);
    ReadText(*key, ValueName(prefix, "V4"), record.link);
    ReadText(*key, ValueName(prefix, "V5"), record.reserved);
    if (ReadNumber(*key, ValueName(prefix, "V6"), number)) {
        record.hasImage = static_cast<std::int32_t>(number);
    }
    ReadText(*key, ValueName(prefix, "V7"), record.excludedProduct);
    ReadText(*key, "SWUPD", record.latestVersions);

    image.size = 0;
    if (record.hasImage != 0) ReadPicture(*key, prefix, image);
    return record;
}

}  // namespace quillmere
