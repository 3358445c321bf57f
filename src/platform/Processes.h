#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmere {

using ProcessHandle = std::intptr_t;
inline constexpr ProcessHandle kFailedProcess = -1;

// Starting programs and waiting for them.
class Processes {
  public:
    virtual ~Processes() = default;
    // Starts `path` without waiting. `arguments` (argument 0 first) are never quoted; the program
    // inherits the current folder and environment. kFailedProcess when it cannot be started.
    virtual ProcessHandle Start(const std::string& path,
                                const std::vector<std::string>& arguments) = 0;
    // Blocks until the process ends; gives its exit code.
    virtual int Wait(ProcessHandle process) = 0;
    virtual void Close(ProcessHandle process) = 0;
};

}  // namespace quillmere
