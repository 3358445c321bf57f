#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace quillmere {

namespace {

class Win32RegistryKey final : public RegistryKey {
  public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}
    ~Win32RegistryKey() override { RegCloseKey(key_); }
    Win32RegistryKey(const Win32RegistryKey&) = delete;
    Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

    RegistryStatus QueryValue(std::string_view name, RegistryValueType& type, void* data,
                              std::uint32_t& size) override {
        const std::string valueName(name);
        DWORD valueType = REG_NONE;
        DWORD valueSize = size;
        if (data == nullptr) {
            const LONG status =
                RegQueryValueExA(key_, valueName.c_str(), nullptr, &valueType, nullptr, &valueSize);
            type = static_cast<RegistryValueType>(valueType);
            size = valueSize;
            return status;
        }
        // Windows leaves a buffer that is too small with unspecified contents; the seam
        // promises none were written, so the value is read aside first. The aside buffer is
        // never empty: a null one would ask for the size alone and report success.
        std::vector<BYTE> aside(std::max<std::uint32_t>(size, 1));
        const LONG status = RegQueryValueExA(key_, valueName.c_str(), nullptr, &valueType,
                                             aside.data(), &valueSize);
        type = static_cast<RegistryValueType>(valueType);
        size = valueSize;
        if (status == ERROR_SUCCESS) std::memcpy(data, aside.data(), valueSize);
        return status;
    }

  private:
    HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenKeyForQuery(std::string_view subkey) {
    const std::string path(subkey);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(key);
}

bool Win32Registry::WriteDword(std::string_view subkey, std::string_view name,
                               std::uint32_t value) {
    const std::string path(subkey);
    const std::string valueName(name);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const DWORD data = value;
    const LONG status = RegSetValueExA(key, valueName.c_str(), 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace quillmere
