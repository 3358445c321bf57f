#include "stub/win32/Win32Viewer.h"

#include "app/RunViewer.h"

namespace quillmere {

Win32Viewer::Win32Viewer()
    : noWindow(win32.dialogs, "Unable to open the ebook's window"), windowing(&noWindow) {
    windowing.OnMainWindowChange([this](HWND window) { win32.dialogs.SetOwner(window); });
    // The system may end the process as soon as the window has answered the session's end, so
    // the clean-up runs there and then, as for a stop signal on Linux: the session's end takes
    // the started programs with it, and waiting for them could hold up the log-off.
    windowing.OnSessionEnd([this] { win32.lifetime.Stop(); });
    // After the window has gone, the exit sequence's wait for started programs hears it.
    win32.processes.OnSessionEnd([this] { win32.lifetime.Stop(); });
}

int Win32Viewer::Run(Windowing& front) {
    Platform platform = win32.With(front);
    return RunViewer(platform, &noWindow);
}

}  // namespace quillmere
