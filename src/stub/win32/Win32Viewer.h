#pragma once

#include "app/WindowUnavailable.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/window/Win32Windowing.h"

namespace quillmere {

// The viewer on Win32: one of each service, the window, and the wiring between them (message
// boxes owned by the main window, the session's end running the clean-up).
class Win32Viewer {
  public:
    Win32Viewer();
    Win32Viewer(const Win32Viewer&) = delete;
    Win32Viewer& operator=(const Win32Viewer&) = delete;

    // The whole run on the book built into this executable; gives the exit code.
    int Run() { return Run(windowing); }
    // The same, with the window reached through `front`, which passes it on to `windowing`.
    int Run(Windowing& front);

    Win32Services win32;
    WindowUnavailable noWindow;
    Win32Windowing windowing;
};

}  // namespace quillmere
