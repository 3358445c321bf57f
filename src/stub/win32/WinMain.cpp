// The viewer on Windows: the book's records are in this executable's data, its package at the end
// of the file.
#include <windows.h>

#include "stub/win32/Win32Viewer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    quillmere::Win32Viewer viewer;
    return viewer.Run();
}
