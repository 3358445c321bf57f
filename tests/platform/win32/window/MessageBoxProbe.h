#pragma once

#include <optional>
#include <string>

#include "platform/win32/window/Win32Headers.h"

namespace quillmere::test {

// A message box on screen as a reader would find it.
struct FoundMessageBox {
    HWND box = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string text;
    bool ok = false, yes = false, no = false, cancel = false;
    int defaultButton = 0;  // IDOK, IDYES, IDNO...; 0 when none
};

// Waits for a shown message box with this caption, in any program.
std::optional<FoundMessageBox> WaitForMessageBox(const std::string& caption, DWORD timeoutMs);

// Presses the button as a click would.
void PressButton(const FoundMessageBox& box, int button);

// Waits for the shown top-level window of this class and caption.
HWND WaitForWindow(const char* windowClass, const std::string& caption, DWORD timeoutMs);

}  // namespace quillmere::test
