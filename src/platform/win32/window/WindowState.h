#pragma once

#include <functional>

#include "platform/win32/window/Win32Headers.h"

namespace quillmere {

class Win32MainWindow;

// What the windowing, its main window and the message boxes share.
struct WindowState {
    Win32MainWindow* mainWindow = nullptr;
    // Told the main window's handle when it is made, and nullptr when it goes: message boxes are
    // owned by it while it exists.
    std::function<void(HWND)> mainWindowChanged;
    // Runs when the session ends (the user logs off), before the process may be ended; the
    // window is hidden by then.
    std::function<void()> sessionEnd;
};

}  // namespace quillmere
