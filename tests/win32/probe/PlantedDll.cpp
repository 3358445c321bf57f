// A DLL planted beside the probe under a name the system does not have: loaded only when the
// program's own folder is searched.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
