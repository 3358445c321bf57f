#pragma once

#include "platform/Platform.h"

namespace quillmere {

class WindowUnavailable;

// The stub's whole run on `platform`, with the records built into this executable; gives the exit
// code. `unavailable`, when given, is the platform's windowing and learns the ebook's title.
int RunViewer(Platform& platform, WindowUnavailable* unavailable = nullptr);

}  // namespace quillmere
