#pragma once

#include "platform/win32/window/Win32Headers.h"

namespace quillmere {

// The application icon at the given size: the program's first icon (the one the desktop shows for
// it), to be destroyed by the caller; nullptr when the program has none.
HICON LoadAppIcon(HINSTANCE instance, int size);

}  // namespace quillmere
