#include "platform/win32/AnsiPaths.h"

#include <windows.h>

#include <vector>

namespace quillmere {

std::optional<std::string> AnsiPathOf(const std::wstring& path, const ComponentConversion& convert,
                                      const ShortNameLookup& shortName) {
    std::string result;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find(L'\\', start);
        const std::size_t stop = end == std::wstring::npos ? path.size() : end;
        const std::wstring component = path.substr(start, stop - start);
        std::optional<std::string> converted = convert(component);
        if (!converted) {
            const std::optional<std::wstring> shortened = shortName(path.substr(0, stop));
            if (!shortened) return std::nullopt;
            converted = convert(*shortened);
            if (!converted) return std::nullopt;
        }
        result += *converted;
        if (end == std::wstring::npos) return result;
        result += '\\';
        start = end + 1;
    }
}

namespace {

std::optional<std::string> ExactAnsi(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int wideLength = static_cast<int>(text.size());
    // UTF-8 takes neither flag nor default character; every other page reports a substitution.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(CP_ACP, flags, text.data(), wideLength, nullptr, 0,
                                           nullptr, usedDefaultOut);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(length), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text.data(), wideLength, ansi.data(), length, nullptr,
                            usedDefaultOut) != length ||
        usedDefault) {
        return std::nullopt;
    }
    // What reads back as other characters would name another file.
    std::wstring back(text.size(), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length, back.data(),
                            wideLength) != wideLength ||
        back != text) {
        return std::nullopt;
    }
    return ansi;
}

std::optional<std::wstring> ShortNameOf(const std::wstring& path) {
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetShortPathNameW(path.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed) return std::nullopt;
    std::wstring shortPath(buffer.data(), length);
    const std::size_t slash = shortPath.find_last_of(L'\\');
    return slash == std::wstring::npos ? shortPath : shortPath.substr(slash + 1);
}

}  // namespace

std::optional<std::string> SystemAnsiPath(const std::wstring& path) {
    return AnsiPathOf(path, ExactAnsi, ShortNameOf);
}

}  // namespace quillmere
