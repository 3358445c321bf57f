#include "MarkupScanner.h"

#include "ReferenceCheck.h"

namespace quillmere::builder {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsAsciiAlnum(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9'); }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = LowerAscii(c);
    return lowered;
}

}  // namespace

MarkupScanner::MarkupScanner(std::string_view text, const std::string& page,
                             const BookContents& book, Findings& findings)
    : text_(text), page_(page), book_(book), findings_(findings), lines_(text) {}

bool MarkupScanner::At(std::size_t i, std::string_view word, bool ignoreCase) const {
    if (i > text_.size() || text_.size() - i < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        const char c = ignoreCase ? LowerAscii(text_[i + k]) : text_[i + k];
        if (c != word[k]) return false;
    }
    return true;
}

void MarkupScanner::Scan() {
    while (at_ < text_.size()) {
        if (At(at_, "<!--", false)) {
            at_ += 4;
            SkipPast("-->", false);
        } else if (text_[at_] == '<' && at_ + 1 < text_.size() && IsAsciiLetter(text_[at_ + 1])) {
            ++at_;
            ScanTag();
        } else {
            Advance();
        }
    }
}

void MarkupScanner::SkipPast(std::string_view closer, bool ignoreCase) {
    while (at_ < text_.size() && !At(at_, closer, ignoreCase)) Advance();
    at_ = std::min(text_.size(), at_ + closer.size());
}

void MarkupScanner::ScanTag() {
    const std::size_t nameBegin = at_;
    while (at_ < text_.size() && IsAsciiAlnum(text_[at_])) ++at_;
    const std::string tag = Lowered(text_.substr(nameBegin, at_ - nameBegin));
    auto skipSpaces = [this] {
        while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
    };
    while (at_ < text_.size()) {
        skipSpaces();
        if (at_ >= text_.size()) return;
        if (text_[at_] == '>') {
            ++at_;
            break;
        }
        const std::size_t attributeBegin = at_;
        while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '=' &&
               text_[at_] != '>') {
            Advance();
        }
        if (at_ == attributeBegin) {
            ++at_;  // a '=' without a name
            continue;
        }
        const std::string attribute = Lowered(text_.substr(attributeBegin, at_ - attributeBegin));
        skipSpaces();
        if (at_ >= text_.size() || text_[at_] != '=') continue;
        ++at_;
        skipSpaces();
        if (at_ >= text_.size()) return;
        std::size_t valueBegin = at_;
        std::size_t valueEnd = 0;
        if (text_[at_] == '"' || text_[at_] == '\'') {
            const char quote = text_[at_++];
            valueBegin = at_;
            while (at_ < text_.size() && text_[at_] != quote) Advance();
            valueEnd = std::min(at_, text_.size());
            if (at_ < text_.size()) ++at_;
        } else {
            while (at_ < text_.size() && !IsSpace(text_[at_]) && text_[at_] != '>') Advance();
            valueEnd = std::min(at_, text_.size());
        }
        CheckAttribute(tag, attribute, valueBegin, valueEnd);
    }
    if (tag == "script") {
        SkipPast("</script", true);
    } else if (tag == "style") {
        const std::size_t begin = at_;
        while (at_ < text_.size() && !At(at_, "</style", true)) Advance();
        ScanStyle(begin, std::min(at_, text_.size()));
    }
}

void MarkupScanner::CheckAttribute(const std::string& tag, const std::string& attribute,
                                   std::size_t valueBegin, std::size_t valueEnd) {
    if (attribute == "style") return ScanStyle(valueBegin, valueEnd);
    if (attribute != "href" && attribute != "src" && attribute != "background") return;
    const ReferenceUse use = attribute == "href" && (tag == "a" || tag == "area")
                                 ? ReferenceUse::Link
                                 : ReferenceUse::Resource;
    CheckReference(text_.substr(valueBegin, valueEnd - valueBegin), use, book_, page_,
                   lines_.LineOf(valueBegin), findings_);
}

void MarkupScanner::ScanStyle(std::size_t begin, std::size_t end) {
    std::size_t i = begin;
    auto step = [&] { i += CharLength(text_.substr(0, end), i, book_.Lead()); };
    while (i < end) {
        if (i + 1 < end && text_[i] == '/' && text_[i + 1] == '*') {
            i += 2;
            while (i + 1 < end && !(text_[i] == '*' && text_[i + 1] == '/')) step();
            i = std::min(end, i + 2);
            continue;
        }
        if (end - i < 4 || !At(i, "url(", true)) {
            step();
            continue;
        }
        i += 4;
        while (i < end && IsSpace(text_[i])) ++i;
        char closer = ')';
        if (i < end && (text_[i] == '"' || text_[i] == '\'')) closer = text_[i++];
        const std::size_t valueBegin = i;
        while (i < end && text_[i] != closer) step();
        std::size_t valueEnd = std::min(i, end);
        CheckReference(text_.substr(valueBegin, valueEnd - valueBegin), ReferenceUse::Resource,
                       book_, page_, lines_.LineOf(valueBegin), findings_);
    }
}

}  // namespace quillmere::builder
