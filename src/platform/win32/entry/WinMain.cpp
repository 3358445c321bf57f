// The viewer on Windows: the book's records are in this executable's data, its package at the end
// of the file.
#include <windows.h>

#include "app/ApplicationFramework.h"
#include "app/QuillmereApp.h"
#include "app/WindowUnavailable.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/window/Win32Windowing.h"
#include "records/StubRecords.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace quillmere;
    Win32Services win32;
    WindowUnavailable noWindow(win32.dialogs, "Unable to open the ebook's window");
    Win32Windowing windowing(&noWindow);
    windowing.OnMainWindowChange([&](HWND window) { win32.dialogs.SetOwner(window); });
    Platform platform = win32.With(windowing);

    CQuillmereApp app(platform, StubRecordBlock());
    noWindow.app = &app;
    // The system may end the process as soon as the window has answered the session's end, so
    // the clean-up runs there and then, as for a stop signal on Linux: the session's end takes
    // the started programs with it, and waiting for them could hold up the log-off.
    windowing.OnSessionEnd([&] { win32.lifetime.Stop(); });
    return RunApplication(app);
}
