#pragma once

#include <clocale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace quillmere::testing {

struct QueriedValue {
    RegistryValueType type;
    std::string data;
    bool operator==(const QueriedValue&) const = default;
};

// The value as a query with a large enough buffer returns it; nullopt when the key or the value
// is missing.
inline std::optional<QueriedValue> QueryRegValue(Registry& registry, std::string_view subkey,
                                                 std::string_view name) {
    auto key = registry.OpenKeyForQuery(subkey);
    if (!key) return std::nullopt;
    std::vector<char> buffer(1 << 16);
    RegistryValueType type = RegistryValueType::None;
    auto size = static_cast<std::uint32_t>(buffer.size());
    if (key->QueryValue(name, type, buffer.data(), size) != kRegistrySuccess) return std::nullopt;
    return QueriedValue{type, std::string(buffer.data(), size)};
}

inline QueriedValue Sz(std::string_view text) {
    std::string data(text);
    data.push_back('\0');
    return {RegistryValueType::String, data};
}

inline QueriedValue Dword(std::uint32_t v) {
    std::string data;
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>(v >> (8 * i)));
    return {RegistryValueType::Dword, data};
}

inline QueriedValue Bytes(RegistryValueType type, std::string_view bytes) {
    return {type, std::string(bytes)};
}

// Switches the character set of the current locale for one test.
class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) {
        old_ = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, name);
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, old_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

  private:
    std::string old_;
};

}  // namespace quillmere::testing
