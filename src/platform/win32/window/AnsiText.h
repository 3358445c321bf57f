#pragma once

#include <string>

#include "platform/win32/window/Win32Headers.h"

namespace quillmere {

// Pages, names and addresses are text in the ANSI code page; the control speaks UTF-16.
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const wchar_t* text, std::size_t length);
std::string AnsiFromBstr(BSTR text);

}  // namespace quillmere
