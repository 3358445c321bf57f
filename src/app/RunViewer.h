#pragma once

#include "platform/Platform.h"

namespace quillmere {

class WindowUnavailable;

// The stub's whole run on `platform`, with the records built into this executable; gives the exit
// code. `unavailable`, when given, stands in for a window that cannot open (as the platform's
// windowing or as its fallback) and learns the ebook's title for its message.
int RunViewer(Platform& platform, WindowUnavailable* unavailable = nullptr);

}  // namespace quillmere
