#pragma once

#include "platform/System.h"

namespace quillmere {

// The process as Windows sees it: backslashes, a lower-cased module folder, the ANSI code page.
class Win32System : public System {
  public:
    PathConventions Conventions() override { return PathConventions{}; }
    // GetModuleFileNameW, with a buffer that grows until a long path fits, in its ANSI form
    // (see AnsiPaths.h); nullopt when it has none.
    std::optional<std::string> ModuleFilePath() override;
    unsigned AnsiCodePage() override;
    std::int64_t CurrentTime() override;
};

}  // namespace quillmere
