#pragma once

#include <functional>

#include "platform/Processes.h"

namespace quillmere {

// Programs started with CreateProcessA, or through the shell when they need elevation (see
// ElevatedStart.h); a ProcessHandle is the process's HANDLE.
class Win32Processes : public Processes {
  public:
    // The command line is the arguments joined with single blanks, as they are, never quoted.
    ProcessHandle Start(const std::string& path,
                        const std::vector<std::string>& arguments) override;
    // Pumps this thread's messages while it waits, and hears the session's end through a hidden
    // window of its own (see SessionEndWatch.h) when a handler is set.
    int Wait(ProcessHandle process) override;
    void Close(ProcessHandle process) override;

    // What runs when the session ends during a wait; it is expected to end the process.
    void OnSessionEnd(std::function<void()> cleanUp) { sessionEnd_ = std::move(cleanUp); }

  private:
    std::function<void()> sessionEnd_;
};

}  // namespace quillmere
