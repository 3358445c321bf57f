#pragma once

#include "platform/Processes.h"

namespace quillmere {

// Programs started with CreateProcessA, or through the shell when they need elevation (see
// ElevatedStart.h); a ProcessHandle is the process's HANDLE.
class Win32Processes : public Processes {
  public:
    // The command line is the arguments joined with single blanks, as they are, never quoted.
    ProcessHandle Start(const std::string& path,
                        const std::vector<std::string>& arguments) override;
    int Wait(ProcessHandle process) override;
    void Close(ProcessHandle process) override;
};

}  // namespace quillmere
