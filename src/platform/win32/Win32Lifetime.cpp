#include "platform/win32/Win32Lifetime.h"

#include <windows.h>

namespace quillmere {

void Win32Lifetime::EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

}  // namespace quillmere
