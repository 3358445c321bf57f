#pragma once

#include "platform/Processes.h"

namespace quillmere {

// Programs started with posix_spawn; a process handle is the child's pid.
class PosixProcesses : public Processes {
  public:
    // Only an absolute path is started, as given (no search of PATH); a relative one, or a web
    // address, fails. A file that cannot be executed, such as an
    // empty one, fails here rather than in the child: glibc reports the exec error to posix_spawn.
    // The child gets default signal dispositions and an empty signal mask, whatever the viewer set.
    ProcessHandle Start(const std::string& path,
                        const std::vector<std::string>& arguments) override;
    // The exit status, or 128 + the signal that ended it; -1 for kFailedProcess or a pid that is
    // not our child. Runs GLib's default main context meanwhile, so stops are still heard.
    int Wait(ProcessHandle process) override;
    // A pid holds nothing that needs releasing once the child has been reaped.
    void Close(ProcessHandle process) override;
};

}  // namespace quillmere
