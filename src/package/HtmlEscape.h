#pragma once

#include <string>
#include <string_view>

namespace quillmere {

// Which quote mark encloses the attribute the text goes into.
enum class AttributeQuotes { Double, Single };

// Text for an HTML attribute value: '&', '"', '<' and '>' become references, and '\'' too inside
// single quotes, so the text can neither end the attribute nor start markup; a browser decodes
// it back to the same bytes. None of these bytes is ever a trail byte of a double-byte code page,
// so a byte-wise pass is safe.
std::string EscapeForHtmlAttribute(std::string_view text, AttributeQuotes quotes);

}  // namespace quillmere
