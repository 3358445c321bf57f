#include "pages/SoftwareTag.h"

#include <string_view>

#include "package/MultibyteText.h"

namespace quillmere {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string TakeSoftwareTag(std::string& text, const LeadBytes& lead) {
    const std::string_view tag = kSoftwareTag;
    const std::size_t start = FindText(text, tag, 0, lead);
    if (start == kNotFound) return {};
    std::size_t end = start + tag.size();
    while (end < text.size() && IsAsciiLetter(text[end])) ++end;
    std::string name = text.substr(start + tag.size(), end - start - tag.size());
    text.erase(start, end - start);
    return name;
}

}  // namespace quillmere
