#include "app/ProfileSettings.h"

namespace quillmere {

std::string ProfileKey(const AppContext& ctx, std::string_view section) {
    std::string key = "Software\\";
    key += kRegistryCompany;
    key += '\\';
    key += ctx.appName;
    key += '\\';
    key += section;
    return key;
}

std::uint32_t GetProfileInt(AppContext& ctx, std::string_view section, std::string_view entry,
                            std::uint32_t defaultValue) {
    auto key = ctx.platform.registry.OpenKeyForQuery(ProfileKey(ctx, section));
    if (!key) return defaultValue;
    std::uint8_t bytes[4] = {};
    std::uint32_t size = sizeof bytes;
    RegistryValueType type = RegistryValueType::None;
    if (key->QueryValue(entry, type, bytes, size) != kRegistrySuccess ||
        type != RegistryValueType::Dword || size != sizeof bytes) {
        return defaultValue;
    }
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

bool WriteProfileInt(AppContext& ctx, std::string_view section, std::string_view entry,
                     std::uint32_t value) {
    return ctx.platform.registry.WriteDword(ProfileKey(ctx, section), entry, value);
}

}  // namespace quillmere
