#pragma once

#include "platform/Lifetime.h"

namespace quillmere {

// Ends the process with std::exit, so stdio is flushed and static destructors run.
class PosixLifetime : public Lifetime {
  public:
    [[noreturn]] void EndProcess(int exitCode) override;
};

}  // namespace quillmere
