#pragma once

#include "platform/posix/PosixSystem.h"

namespace quillmere {

// The process's view of itself on Linux.
class LinuxSystem : public PosixSystem {
  public:
    // The real path of /proc/self/exe.
    std::optional<std::string> ModuleFilePath() override;
};

}  // namespace quillmere
