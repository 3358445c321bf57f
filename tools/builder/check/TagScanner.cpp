#include "TagScanner.h"

#include <array>

#include "BookContents.h"

namespace quillmere::builder {

namespace {

constexpr std::string_view kBonusStart = "RVX_BONUS_START";
constexpr std::string_view kBonusEnd = "RVX_BONUS_END";
constexpr std::string_view kVersion = "RVX_VERSION";
constexpr std::string_view kSoftware = "RVX_SW_";
constexpr std::string_view kShowVersion = "RVX_SHOWVERSION";

constexpr std::array<std::string_view, 11> kTags = {"RVX_REPLACE_EBOOKNAME",
                                                    "RVX_REPLACE_NAME",
                                                    "RVX_REPLACE_DESC",
                                                    "RVX_BRINDLE_LINK",
                                                    "RVX_SOFTWARE_LINK",
                                                    "RVX_REPLACE_LINK",
                                                    kBonusStart,
                                                    kBonusEnd,
                                                    kShowVersion,
                                                    kVersion,
                                                    kSoftware};

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view word, bool ignoreCase) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        const char c = ignoreCase ? UpperAscii(text[at + k]) : text[at + k];
        if (c != word[k]) return false;
    }
    return true;
}

}  // namespace

TagScanner::TagScanner(std::string_view text, const std::string& page, const LeadBytes& lead,
                       Findings& findings)
    : text_(text), page_(page), lead_(lead), findings_(findings), lines_(text) {}

void TagScanner::Scan() {
    std::size_t firstShowVersion = std::string_view::npos;
    for (std::size_t at = 0; at < text_.size();) {
        if (inBonus_ && StartsWith(text_, at, "-->", false)) {
            Add(FindingKind::Bonus, at,
                "\"-->\" inside a bonus section: with --hide-bonus the rest of the section "
                "(from line " +
                    std::to_string(lines_.LineOf(bonusStart_)) + ") shows");
            at += 3;
            continue;
        }
        if (!StartsWith(text_, at, "RVX_", true)) {
            at += CharLength(text_, at, lead_);
            continue;
        }
        if (!StartsWith(text_, at, "RVX_", false)) {
            Unknown(at);
            at += 4;
            continue;
        }
        const std::size_t length = KnownTag(at);
        if (length == 0) {
            Unknown(at);
            at += 4;
            continue;
        }
        if (StartsWith(text_, at, kShowVersion, false) &&
            firstShowVersion == std::string_view::npos) {
            firstShowVersion = at;
        }
        at += length;
    }
    if (inBonus_) {
        Add(FindingKind::Bonus, bonusStart_,
            "RVX_BONUS_START has no RVX_BONUS_END: with --hide-bonus the rest of the page is "
            "hidden");
    }
    if (firstShowVersion != std::string_view::npos && versionTags_ == 0) {
        Add(FindingKind::Tag, firstShowVersion,
            "RVX_SHOWVERSION without RVX_VERSION stays in the page as text");
    }
}

std::size_t TagScanner::KnownTag(std::size_t at) {
    for (std::string_view tag : kTags) {
        if (!StartsWith(text_, at, tag, false)) continue;
        if (tag == kBonusStart) {
            if (inBonus_) {
                Add(FindingKind::Bonus, at,
                    "RVX_BONUS_START inside a bonus section (from line " +
                        std::to_string(lines_.LineOf(bonusStart_)) +
                        "): sections do not nest, the first RVX_BONUS_END ends both");
            } else {
                inBonus_ = true;
                bonusStart_ = at;
            }
        } else if (tag == kBonusEnd) {
            if (!inBonus_) {
                Add(FindingKind::Bonus, at,
                    "RVX_BONUS_END has no RVX_BONUS_START: with --hide-bonus a stray \"-->\" "
                    "shows");
            }
            inBonus_ = false;
        } else if (tag == kVersion && ++versionTags_ > 1) {
            Add(FindingKind::Tag, at, "a second RVX_VERSION stays in the page as text");
        } else if (tag == kSoftware && ++softwareTags_ > 1) {
            Add(FindingKind::Tag, at, "a second RVX_SW_ stays in the page as text");
        }
        return tag.size();
    }
    return 0;
}

void TagScanner::Unknown(std::size_t at) {
    std::size_t end = at;
    while (end < text_.size() && IsWordByte(text_[end])) ++end;
    const std::string word(text_.substr(at, end - at));
    for (std::string_view tag : kTags) {
        if (StartsWith(text_, at, tag, true)) {
            return Add(
                FindingKind::Tag, at,
                word + " is no tag, tags are upper case: did you mean " + std::string(tag) + "?");
        }
    }
    // Other words that begin rvx_ in another case are left alone: they are not meant as tags.
    if (!StartsWith(text_, at, "RVX_", false)) return;
    Add(FindingKind::Tag, at, word + " is no tag: it stays in the page as text");
}

void TagScanner::Add(FindingKind kind, std::size_t at, std::string message) {
    findings_.push_back({page_, lines_.LineOf(at), kind, std::move(message)});
}

}  // namespace quillmere::builder
