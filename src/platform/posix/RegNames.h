#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LeadBytes.h"
#include "platform/posix/RegEncoding.h"

namespace quillmere {

inline constexpr std::string_view kCurrentUserRoot = "HKEY_CURRENT_USER";

// Names in the locale's form are in its code page, whose lead bytes begin two-byte characters
// (a trail byte may be 0x5C or a letter); the Unicode forms of a file hold UTF-8, which has none.
LeadBytes LocaleLeadBytes();
LeadBytes RegTextLeadBytes(RegEncoding encoding);

// A key or value name in the form used for comparing: names match without regard to letter case.
// `lead`: the lead bytes of the name's code page; trail bytes are never folded.
std::string FoldRegName(std::string_view name, const LeadBytes& lead = LeadBytes());

// The compared form of a full key path ("HKEY_CURRENT_USER\Software\..."; "HKCU" stands for the
// current user's root), split at each '\' that is a character of its own. nullopt for a path
// with an empty part.
std::optional<std::string> FoldRegKeyPath(std::string_view path,
                                          const LeadBytes& lead = LeadBytes());

// Every key above a folded path, the root first.
std::vector<std::string> RegKeyAncestors(std::string_view folded, const LeadBytes& lead);

// True when `key` (a folded path) is `ancestor` or lies under it.
bool RegKeyIsWithin(std::string_view key, std::string_view ancestor);

// A full path of the current user's root for a subkey as callers name it ("" is the root itself).
std::string CurrentUserKeyPath(std::string_view subkey);

}  // namespace quillmere
