#include "Finding.h"

#include <array>

namespace quillmere::builder {

namespace {

struct KindText {
    FindingKind kind;
    std::string_view name;
    std::string_view plural;
};

constexpr std::array<KindText, 14> kKinds = {{
    {FindingKind::Missing, "missing", "references to files not in the book"},
    {FindingKind::Case, "case", "references that match only in letter case"},
    {FindingKind::Folder, "folder", "references into folders"},
    {FindingKind::Absolute, "absolute", "absolute paths"},
    {FindingKind::Https, "https", "https links"},
    {FindingKind::Scheme, "scheme", "links the reader's browser does not get"},
    {FindingKind::ExeLink, "exe-link", "direct links to programs"},
    {FindingKind::Launch, "launch", "launch links to programs not in the book"},
    {FindingKind::Download, "download", "links to files the viewer does not show"},
    {FindingKind::ZeroByte, "zero-byte", "zero bytes"},
    {FindingKind::Bonus, "bonus", "bonus marker problems"},
    {FindingKind::Tag, "tag", "RVX_ words that are no tag"},
    {FindingKind::NoPage, "no-page", "books without pages"},
    {FindingKind::Size, "size", "size warnings"},
}};

const KindText& Text(FindingKind kind) {
    for (const KindText& text : kKinds) {
        if (text.kind == kind) return text;
    }
    return kKinds[0];
}

}  // namespace

std::string_view KindName(FindingKind kind) { return Text(kind).name; }

std::string_view KindPlural(FindingKind kind) { return Text(kind).plural; }

bool KindByName(std::string_view name, FindingKind& kind) {
    for (const KindText& text : kKinds) {
        if (text.name == name) {
            kind = text.kind;
            return true;
        }
    }
    return false;
}

std::string KindNames() {
    std::string names;
    for (const KindText& text : kKinds) {
        if (!names.empty()) names += ", ";
        names += text.name;
    }
    return names;
}

}  // namespace quillmere::builder
