#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/LeadBytes.h"

namespace quillmere {

// Searches over 8-bit text in a code page that may have two-byte characters: a match never starts
// on the trail byte of a two-byte character.

inline constexpr std::size_t kNotFound = std::string_view::npos;

// First occurrence of `needle` at or after `from` (which must be a character boundary).
std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from,
                     const LeadBytes& lead);

// Last occurrence of the single-byte character `c`.
std::size_t FindLastChar(std::string_view text, char c, const LeadBytes& lead);

// ASCII letters lowered; two-byte characters left as they are.
std::string LowerAnsi(std::string_view text, const LeadBytes& lead);

// Equal when letter case is ignored, character by character.
bool EqualsIgnoringCase(std::string_view a, std::string_view b, const LeadBytes& lead);

}  // namespace quillmere
