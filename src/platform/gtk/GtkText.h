#pragma once

#include <string>
#include <string_view>

namespace quillmere {

// GTK and WebKit take UTF-8; the viewer's text is 8-bit in the user's code page. `charset` names
// that code page (nullptr or "UTF-8" when the text already is UTF-8). Whatever the bytes, the
// result is valid UTF-8: what cannot be converted is replaced, never passed on.
std::string ToUtf8(std::string_view text, const char* charset);

// Windows text breaks lines with "\r\n"; GTK labels want "\n".
std::string WithPlainLineBreaks(std::string_view text);

}  // namespace quillmere
