#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "pages/AdvertStore.h"
#include "support/FakePlatform.h"

namespace quillmere::fuzzing {

inline int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Fills the advert store from lines "name=value": "dword:N" is a number, "hex:0a1b.." bytes of
// a binary value, anything else a string.
inline void FillAdvertStore(testing::MemoryRegistry& registry, std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (value.starts_with("dword:")) {
            registry.SetDword(kAdvertStoreKey, name, ParseNumber(std::string(value.substr(6))));
        } else if (value.starts_with("hex:")) {
            std::vector<std::uint8_t> bytes;
            for (std::size_t i = 4; i + 1 < value.size(); i += 2) {
                const int high = HexDigit(value[i]);
                const int low = HexDigit(value[i + 1]);
                if (high < 0 || low < 0) break;
                bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
            }
            registry.Set(kAdvertStoreKey, name, RegistryValueType::Binary, std::move(bytes));
        } else {
            registry.SetString(kAdvertStoreKey, name, value);
        }
    }
}

}  // namespace quillmere::fuzzing
