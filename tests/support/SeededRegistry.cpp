#include "support/SeededRegistry.h"

#include <string>

namespace quillmere::testing {

void SeededRegistry::SeedString(std::string_view subkey, std::string_view name,
                                std::string_view text) {
    std::string bytes(text);
    bytes.push_back('\0');
    Seed(subkey, name, RegistryValueType::String, bytes);
}

void SeededRegistry::SeedDword(std::string_view subkey, std::string_view name,
                               std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
    Seed(subkey, name, RegistryValueType::Dword, bytes);
}

}  // namespace quillmere::testing
