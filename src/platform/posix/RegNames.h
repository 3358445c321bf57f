#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

inline constexpr std::string_view kCurrentUserRoot = "HKEY_CURRENT_USER";

// A key or value name in the form used for comparing: names match without regard to letter case.
std::string FoldRegName(std::string_view name);

// The compared form of a full key path ("HKEY_CURRENT_USER\Software\..."; "HKCU" stands for the
// current user's root). nullopt for a path with an empty part.
std::optional<std::string> FoldRegKeyPath(std::string_view path);

// True when `key` (a folded path) is `ancestor` or lies under it.
bool RegKeyIsWithin(std::string_view key, std::string_view ancestor);

// A full path of the current user's root for a subkey as callers name it ("" is the root itself).
std::string CurrentUserKeyPath(std::string_view subkey);

}  // namespace quillmere
