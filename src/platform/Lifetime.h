#pragma once

#include <functional>

namespace quillmere {

// Ending the process. Everything that ends the process goes through here, so tests can watch the
// exit code instead of losing the test runner.
class Lifetime {
  public:
    virtual ~Lifetime() = default;
    [[noreturn]] virtual void EndProcess(int exitCode) = 0;
    // `onStop` runs when the process is told to stop (a stop signal, the end of the session, the
    // loss of the display), on the one thread, at the next point where the viewer waits: the
    // message loop, an open message box, or the wait for a started program. It must end the
    // process. Without a handler a stop ends the process at once, as the system would.
    virtual void SetStopHandler(std::function<void()> onStop) = 0;
};

}  // namespace quillmere
