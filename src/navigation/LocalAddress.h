#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/TextRules.h"

namespace quillmere {

// The scheme of an absolute address, lower-cased, without its colon ("mailto" for
// "mailto:a@b.org"); empty when the text has none. A single letter before the colon is a drive
// ("C:\\Books"), not a scheme.
std::string SchemeOf(std::string_view address);

// The local path an address names: a file: URL with its escapes decoded and without its query or
// fragment, or a full path as it stands (with the platform's separator, or a drive letter).
// Another computer's share comes back as a network path (two separators, then the host), which no
// folder of this one contains. nullopt when the address is not local.
std::optional<std::string> LocalPathOf(std::string_view address, const TextRules& rules);

}  // namespace quillmere
