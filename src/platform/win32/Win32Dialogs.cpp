#include "platform/win32/Win32Dialogs.h"

#include <windows.h>

#include <string>

namespace quillmere {

unsigned MessageBoxFlags(MessageBoxStyle style) {
    UINT flags = style.buttons == MessageBoxButtons::YesNo ? MB_YESNO : MB_OK;
    flags |= style.icon == MessageBoxIcon::Question ? MB_ICONQUESTION : MB_ICONSTOP;
    if (style.defaultButton == MessageBoxDefault::Second) flags |= MB_DEFBUTTON2;
    return flags;
}

MessageBoxAnswer Win32Dialogs::ShowMessageBox(std::string_view text, std::string_view caption,
                                              MessageBoxStyle style) {
    const std::string body(text);
    const std::string title(caption);
    switch (MessageBoxA(static_cast<HWND>(owner_), body.c_str(), title.c_str(),
                        MessageBoxFlags(style))) {
        case IDOK:
            return MessageBoxAnswer::Ok;
        case IDYES:
            return MessageBoxAnswer::Yes;
        case IDNO:
            return MessageBoxAnswer::No;
        default:
            return MessageBoxAnswer::Closed;
    }
}

}  // namespace quillmere
