#include "platform/win32/window/AnsiText.h"

#include <climits>

namespace quillmere {

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), needed);
    return wide;
}

std::string AnsiFromWide(const wchar_t* text, std::size_t length) {
    if (text == nullptr || length == 0 || length > INT_MAX) return {};
    const int size = static_cast<int>(length);
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, size, ansi.data(), needed, nullptr, nullptr);
    return ansi;
}

std::string AnsiFromBstr(BSTR text) {
    return text == nullptr ? std::string() : AnsiFromWide(text, SysStringLen(text));
}

}  // namespace quillmere
