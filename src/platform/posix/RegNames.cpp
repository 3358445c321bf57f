#include "platform/posix/RegNames.h"

#include <glib.h>

#include <algorithm>
#include <memory>

namespace quillmere {

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string FoldRegName(std::string_view name) {
    std::string folded(name);
    if (IsAscii(name) || !g_utf8_validate(name.data(), static_cast<gssize>(name.size()), nullptr)) {
        // Text in a single- or double-byte code page: only ASCII letters have a known case.
        for (char& c : folded) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return folded;
    }
    std::unique_ptr<gchar, decltype(&g_free)> cased(
        g_utf8_casefold(name.data(), static_cast<gssize>(name.size())), &g_free);
    return cased ? std::string(cased.get()) : folded;
}

std::optional<std::string> FoldRegKeyPath(std::string_view path) {
    std::string folded;
    std::size_t start = 0;
    bool first = true;
    while (true) {
        std::size_t end = path.find('\\', start);
        std::string_view part =
            path.substr(start, end == std::string_view::npos ? end : end - start);
        if (part.empty()) return std::nullopt;
        std::string foldedPart = FoldRegName(part);
        if (first && foldedPart == "hkcu") foldedPart = FoldRegName(kCurrentUserRoot);
        if (!first) folded.push_back('\\');
        folded += foldedPart;
        first = false;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return folded;
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
