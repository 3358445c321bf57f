#include "platform/posix/RegNames.h"

#include <glib.h>
#include <langinfo.h>

#include <algorithm>
#include <memory>

#include "platform/posix/CodePages.h"

namespace quillmere {

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Where each '\\' that stands for itself is, in order.
std::vector<std::size_t> Separators(std::string_view path, const LeadBytes& lead) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(path[i]);
        if (lead.IsLead(byte) && i + 1 < path.size()) {
            ++i;  // the trail byte belongs to this character
        } else if (byte == '\\') {
            at.push_back(i);
        }
    }
    return at;
}

}  // namespace

LeadBytes LocaleLeadBytes() {
    const char* charset = nl_langinfo(CODESET);
    return LeadBytes(CodePageForCharset(charset != nullptr ? charset : ""));
}

LeadBytes RegTextLeadBytes(RegEncoding encoding) {
    return encoding == RegEncoding::Ansi ? LocaleLeadBytes() : LeadBytes();
}

std::string FoldRegName(std::string_view name, const LeadBytes& lead) {
    std::string folded(name);
    if (lead.Any() || IsAscii(name) ||
        !g_utf8_validate(name.data(), static_cast<gssize>(name.size()), nullptr)) {
        // Text in a single- or double-byte code page: only ASCII letters have a known case.
        for (std::size_t i = 0; i < folded.size(); ++i) {
            char& c = folded[i];
            if (lead.IsLead(static_cast<std::uint8_t>(c))) {
                ++i;  // a trail byte is never a letter of its own
            } else if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return folded;
    }
    std::unique_ptr<gchar, decltype(&g_free)> cased(
        g_utf8_casefold(name.data(), static_cast<gssize>(name.size())), &g_free);
    return cased ? std::string(cased.get()) : folded;
}

std::optional<std::string> FoldRegKeyPath(std::string_view path, const LeadBytes& lead) {
    std::vector<std::size_t> ends = Separators(path, lead);
    ends.push_back(path.size());
    std::string folded;
    std::size_t start = 0;
    for (std::size_t i = 0; i < ends.size(); ++i) {
        std::string_view part = path.substr(start, ends[i] - start);
        if (part.empty()) return std::nullopt;
        std::string foldedPart = FoldRegName(part, lead);
        if (i == 0 && foldedPart == "hkcu") foldedPart = FoldRegName(kCurrentUserRoot);
        if (i != 0) folded.push_back('\\');
        folded += foldedPart;
        start = ends[i] + 1;
    }
    return folded;
}

std::vector<std::string> RegKeyAncestors(std::string_view folded, const LeadBytes& lead) {
    std::vector<std::string> ancestors;
    for (std::size_t at : Separators(folded, lead)) ancestors.emplace_back(folded.substr(0, at));
    return ancestors;
}

bool RegKeyIsWithin(std::string_view key, std::string_view ancestor) {
    if (!key.starts_with(ancestor)) return false;
    return key.size() == ancestor.size() || key[ancestor.size()] == '\\';
}

std::string CurrentUserKeyPath(std::string_view subkey) {
    std::string path(kCurrentUserRoot);
    if (!subkey.empty()) {
        path.push_back('\\');
        path += subkey;
    }
    return path;
}

}  // namespace quillmere
