#include "platform/win32/DllSearchPath.h"

#include <windows.h>

namespace quillmere {

DllSearchRestriction RestrictDllSearchPath() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefault =
        kernel == nullptr
            ? nullptr
            : reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                  reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return DllSearchRestriction::SystemFolderOnly;
    }
    if (SetDllDirectoryW(L"")) return DllSearchRestriction::NoCurrentFolder;
    return DllSearchRestriction::None;
}

}  // namespace quillmere
