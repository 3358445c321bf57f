#pragma once

#include <functional>

#include "platform/Lifetime.h"

namespace quillmere {

// ExitProcess. A stop comes from the window when the session ends (WM_ENDSESSION), which calls
// Stop on the one thread.
class Win32Lifetime : public Lifetime {
  public:
    [[noreturn]] void EndProcess(int exitCode) override;
    void SetStopHandler(std::function<void()> onStop) override;

    // Runs the stop handler, which ends the process; without one, or when it returns, the process
    // ends at once with exit code 1.
    [[noreturn]] void Stop();

  private:
    std::function<void()> onStop_;
    bool stopping_ = false;
};

}  // namespace quillmere
