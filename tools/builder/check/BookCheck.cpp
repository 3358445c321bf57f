#include "BookCheck.h"

#include <algorithm>

#include "MarkupScanner.h"
#include "TagScanner.h"

namespace quillmere::builder {

namespace {

bool LooksLikeUtf16(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return true;
    // ASCII text in UTF-16 has a zero byte beside every character.
    return bytes.size() >= 4 &&
           ((bytes[0] == 0 && bytes[2] == 0) || (bytes[1] == 0 && bytes[3] == 0));
}

void CheckZeroByte(const BookEntry& entry, Findings& findings) {
    const std::size_t zero = entry.bytes.find('\0');
    if (zero == std::string_view::npos) return;
    std::string message = "the page is cut at a zero byte: the viewer shows only its first " +
                          std::to_string(zero) + " of " + std::to_string(entry.bytes.size()) +
                          " bytes";
    if (LooksLikeUtf16(entry.bytes)) message += "; it looks like UTF-16: save it as ANSI or UTF-8";
    findings.push_back(
        {entry.name, LineIndex(entry.bytes).LineOf(zero), FindingKind::ZeroByte, message});
}

}  // namespace

Findings CheckBook(const BookContents& book, std::uint64_t bookSize,
                   std::optional<std::uint64_t> sizeLimit) {
    Findings findings;
    bool anyPage = false;
    for (const BookEntry& entry : book.Entries()) {
        const std::size_t first = findings.size();
        if (IsPageName(entry.name, book.Lead())) {
            anyPage = true;
            CheckZeroByte(entry, findings);
            // What the viewer reads of the page: up to its first zero byte.
            const std::string_view text = entry.bytes.substr(0, entry.bytes.find('\0'));
            MarkupScanner(text, entry.name, book, findings).Scan();
            TagScanner(text, entry.name, book.Lead(), findings).Scan();
        } else if (LowerExtension(entry.name, book.Lead()) == ".css") {
            MarkupScanner(entry.bytes, entry.name, book, findings).ScanStyle(0, entry.bytes.size());
        }
        std::stable_sort(findings.begin() + static_cast<std::ptrdiff_t>(first), findings.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
    }
    if (!anyPage) {
        findings.push_back({"", 0, FindingKind::NoPage,
                            "the book holds no page: the viewer says \"No HTML file in ebook\""});
    }
    if (sizeLimit && bookSize > *sizeLimit) {
        findings.push_back({"", 0, FindingKind::Size,
                            "the book is " + std::to_string(bookSize) + " bytes, more than the " +
                                std::to_string(*sizeLimit) +
                                " bytes the 32-bit Windows viewer opens"});
    }
    return findings;
}

}  // namespace quillmere::builder
