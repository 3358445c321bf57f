#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quillmere {

// The ANSI form of one path component; nullopt when a character of it has none.
using ComponentConversion = std::function<std::optional<std::string>(const std::wstring&)>;
// The short (8.3) name of the last component of an existing path; nullopt when there is none.
using ShortNameLookup = std::function<std::optional<std::wstring>(const std::wstring&)>;

// The form of a wide path that the portable code, which keeps ANSI strings, can use. Components
// that convert exactly are kept; one that would lose a character is replaced by its short name
// (a shortened program name no longer carries a reseller's prefix, so such a copy is no longer
// exempt from the terms of use). nullopt when a short name is missing or loses a character too
// (short names switched off): no lossy form ever reaches the file system.
std::optional<std::string> AnsiPathOf(const std::wstring& path, const ComponentConversion& convert,
                                      const ShortNameLookup& shortName);

// The same with the system's rules: WideCharToMultiByte in the ANSI code page without best fit,
// checked by converting back, and GetShortPathNameW.
std::optional<std::string> SystemAnsiPath(const std::wstring& path);

}  // namespace quillmere
