#pragma once

#include <windows.h>

namespace quillmere {

// Closes a kernel handle once; later calls succeed without doing anything.
inline bool CloseOnce(HANDLE& handle) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return true;
    const HANDLE closing = handle;
    handle = INVALID_HANDLE_VALUE;
    return CloseHandle(closing) != 0;
}

}  // namespace quillmere
