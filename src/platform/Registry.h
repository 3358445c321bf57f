#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace quillmere {

enum class RegistryValueType : std::uint32_t {
    None = 0,
    String = 1,        // REG_SZ
    ExpandString = 2,  // REG_EXPAND_SZ
    Binary = 3,        // REG_BINARY
    Dword = 4,         // REG_DWORD (little-endian)
    MultiString = 7,   // REG_MULTI_SZ
};

// Status codes as the Windows registry reports them.
using RegistryStatus = long;
inline constexpr RegistryStatus kRegistrySuccess = 0;
inline constexpr RegistryStatus kRegistryNotFound = 2;
inline constexpr RegistryStatus kRegistryMoreData = 234;

// A key opened for querying; closed when destroyed.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;
    // `size` holds the buffer's capacity on entry, the value's byte count on return. A value larger
    // than the buffer gives kRegistryMoreData, its full size and no data; no buffer, only the size.
    virtual RegistryStatus QueryValue(std::string_view name, RegistryValueType& type, void* data,
                                      std::uint32_t& size) = 0;
};

// The current user's registry (HKEY_CURRENT_USER). Subkeys are written with backslashes and compare
// without regard to letter case, as do value names.
class Registry {
  public:
    virtual ~Registry() = default;
    // nullptr when the key does not exist or cannot be read.
    virtual std::unique_ptr<RegistryKey> OpenKeyForQuery(std::string_view subkey) = 0;
    // Creates the key when needed; keeps every other key and value.
    virtual bool WriteDword(std::string_view subkey, std::string_view name,
                            std::uint32_t value) = 0;
};

}  // namespace quillmere
