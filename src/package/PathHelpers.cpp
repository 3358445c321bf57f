#include "package/PathHelpers.h"

#include "package/MultibyteText.h"

namespace quillmere {

namespace {

// Text after the last `c`, or the whole text when there is none.
std::string_view AfterLast(std::string_view text, char c, const TextRules& rules) {
    const std::size_t at = FindLastChar(text, c, rules.leadBytes);
    return at == kNotFound ? text : text.substr(at + 1);
}

}  // namespace

std::string GetDirectoryPart(std::string_view path, const TextRules& rules) {
    const std::size_t at = FindLastChar(path, rules.separator, rules.leadBytes);
    return at == kNotFound ? std::string() : std::string(path.substr(0, at + 1));
}

std::string GetFileNamePart(std::string_view path, const TextRules& rules) {
    return LowerAnsi(AfterLast(path, rules.separator, rules), rules.leadBytes);
}

std::string GetExtensionPart(std::string_view path, const TextRules& rules) {
    const std::size_t at = FindLastChar(path, '.', rules.leadBytes);
    return LowerAnsi(at == kNotFound ? path : path.substr(at), rules.leadBytes);
}

std::string StripQuery(std::string_view url, const TextRules& rules) {
    const std::size_t at = FindLastChar(url, '?', rules.leadBytes);
    return std::string(at == kNotFound ? url : url.substr(0, at));
}

// Every later "key=" adds its value, up to the next '&', to the result. A loop rather than
// recursion: a query with a great many '&' must not run out of stack. The query holds no '?', so
// each remainder is its own query.
std::string GetQueryValue(std::string_view url, std::string_view key, const TextRules& rules) {
    const std::string pattern = std::string(key) + '=';
    std::string value;
    std::string_view rest = AfterLast(url, '?', rules);
    for (;;) {
        const std::size_t at = FindText(rest, pattern, 0, rules.leadBytes);
        if (at == kNotFound) return value;
        const std::string_view tail = rest.substr(at + pattern.size());
        const std::size_t amp = FindText(tail, "&", 0, rules.leadBytes);
        if (amp == kNotFound) return value.append(tail);
        value.append(tail.substr(0, amp));
        rest = tail.substr(amp + 1);
    }
}

}  // namespace quillmere
