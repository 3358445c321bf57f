// The viewer on Windows: the book's records are in this executable's data, its package at the end
// of the file.
#include <windows.h>

#include "platform/win32/DllSearchPath.h"
#include "stub/win32/Win32Viewer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before anything loads a DLL by name.
    quillmere::RestrictDllSearchPath();
    quillmere::Win32Viewer viewer;
    return viewer.Run();
}
