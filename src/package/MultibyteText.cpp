#include "package/MultibyteText.h"

namespace quillmere {

namespace {

// Length of the character that starts at `i`: two for a lead byte followed by a trail byte.
std::size_t CharLength(std::string_view text, std::size_t i, const LeadBytes& lead) {
    if (lead.IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) return 2;
    return 1;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from,
                     const LeadBytes& lead) {
    if (!lead.Any()) return text.find(needle, from);
    // Let the fast byte search propose candidates and walk character boundaries up to each one;
    // the walk only ever moves forward, so the whole search stays linear.
    std::size_t boundary = from;
    std::size_t candidate = text.find(needle, from);
    while (candidate != std::string_view::npos) {
        while (boundary < candidate) boundary += CharLength(text, boundary, lead);
        if (boundary == candidate) return candidate;
        candidate = text.find(needle, boundary);
    }
    return kNotFound;
}

std::size_t FindLastChar(std::string_view text, char c, const LeadBytes& lead) {
    if (!lead.Any()) return text.rfind(c);
    std::size_t found = kNotFound;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i, lead)) {
        if (text[i] == c) found = i;
    }
    return found;
}

std::string LowerAnsi(std::string_view text, const LeadBytes& lead) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        std::size_t length = CharLength(out, i, lead);
        if (length == 1) out[i] = LowerAscii(out[i]);
        i += length;
    }
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b, const LeadBytes& lead) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        std::size_t length = CharLength(a, i, lead);
        if (length != CharLength(b, i, lead)) return false;
        if (length == 1) {
            if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
        } else if (a.substr(i, 2) != b.substr(i, 2)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace quillmere
