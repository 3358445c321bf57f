#pragma once

#include "platform/Lifetime.h"

namespace quillmere {

class Win32Lifetime : public Lifetime {
  public:
    [[noreturn]] void EndProcess(int exitCode) override;
};

}  // namespace quillmere
