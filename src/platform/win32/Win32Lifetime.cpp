#include "platform/win32/Win32Lifetime.h"

#include <windows.h>

#include <utility>

namespace quillmere {

void Win32Lifetime::EndProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

void Win32Lifetime::SetStopHandler(std::function<void()> onStop) { onStop_ = std::move(onStop); }

void Win32Lifetime::Stop() {
    // A second stop while the first cleans up (a message box inside runs the loop) must not
    // start the clean-up again.
    if (!stopping_) {
        stopping_ = true;
        if (onStop_) onStop_();
    }
    EndProcess(1);
}

}  // namespace quillmere
