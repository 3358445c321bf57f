#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/AppContext.h"

namespace quillmere {

inline constexpr const char* kRegistryCompany = "Tallowbrook";

// The application's own registry key for `section`: Software\Tallowbrook\<appName>\<section>.
std::string ProfileKey(const AppContext& ctx, std::string_view section);

// A DWORD value under the application's key; `defaultValue` when it is missing, of another type
// or cannot be read.
std::uint32_t GetProfileInt(AppContext& ctx, std::string_view section, std::string_view entry,
                            std::uint32_t defaultValue);

// False when the value could not be stored.
bool WriteProfileInt(AppContext& ctx, std::string_view section, std::string_view entry,
                     std::uint32_t value);

}  // namespace quillmere
