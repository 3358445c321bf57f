#include "package/HtmlEscape.h"

namespace quillmere {

std::string EscapeForHtmlAttribute(std::string_view text, AttributeQuotes quotes) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\'':
                if (quotes == AttributeQuotes::Single) {
                    out += "&#39;";
                } else {
                    out += c;
                }
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

}  // namespace quillmere
