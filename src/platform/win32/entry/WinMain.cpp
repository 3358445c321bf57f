// The viewer on Windows: the book's records are in this executable's data, its package at the end
// of the file.
#include <windows.h>

#include "app/RunViewer.h"
#include "app/WindowUnavailable.h"
#include "platform/win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace quillmere;
    Win32Services win32;
    // The frame window and its browser control are not part of this build yet.
    WindowUnavailable noWindow(win32.dialogs,
                               "Unable to open the ebook's window: this build has no window");
    Platform platform = win32.With(noWindow);
    return RunViewer(platform, &noWindow);
}
