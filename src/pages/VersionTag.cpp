#include "pages/VersionTag.h"

#include "package/MultibyteText.h"

namespace quillmere {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes of an f or x value: printable ASCII except the ones that end a path or begin a tag.
bool IsValueByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x21 && byte <= 0x7F && c != '/' && c != '<';
}

}  // namespace

std::optional<VersionTag> ParseVersionTag(std::string_view text, const LeadBytes& lead) {
    const std::string_view word = kVersionTagWord;
    const std::size_t begin = FindText(text, word, 0, lead);
    if (begin == kNotFound) return std::nullopt;

    VersionTag tag;
    tag.begin = begin;
    std::size_t i = begin + word.size();
    if (i < text.size() && text[i] == '_') {
        // One separator byte stands between fields; it is skipped without being looked at.
        ++i;
        while (i < text.size() && IsDigit(text[i])) tag.productCode += text[i++];
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            tag.versionNumber = tag.versionNumber * 10u + static_cast<std::uint32_t>(text[i] - '0');
            ++i;
        }
        ++i;
        while (i < text.size() && IsValueByte(text[i])) tag.f += text[i++];
        ++i;
        while (i < text.size() && IsValueByte(text[i])) tag.x += text[i++];
    }
    // Skipping separators may run past the end; the tag then reaches to the end of the text.
    tag.end = i < text.size() ? i : text.size();
    return tag;
}

}  // namespace quillmere
