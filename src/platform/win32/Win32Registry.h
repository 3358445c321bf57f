#pragma once

#include "platform/Registry.h"

namespace quillmere {

// The current user's part of the Windows registry (HKEY_CURRENT_USER), through the ANSI calls.
class Win32Registry : public Registry {
  public:
    std::unique_ptr<RegistryKey> OpenKeyForQuery(std::string_view subkey) override;
    bool WriteDword(std::string_view subkey, std::string_view name, std::uint32_t value) override;
};

}  // namespace quillmere
