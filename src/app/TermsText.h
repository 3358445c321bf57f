#pragma once

namespace quillmere {

// The terms of use: ten lines joined by "\r\n", each heading after an empty line.
extern const char* const TermsText;
// Appended to the terms in the question box.
inline constexpr const char* kTermsQuestion =
    "\n\n\nDo you accept these terms of use ?  (If you click Yes this message will not appear "
    "again)";

}  // namespace quillmere
