#pragma once

#include "platform/System.h"

namespace quillmere {

// The process's view of itself on Linux. The code page comes from the locale, so the program must
// have called setlocale(LC_ALL, "") first (PosixServices does).
class PosixSystem : public System {
  public:
    PathConventions Conventions() override;
    // The real path of /proc/self/exe.
    std::optional<std::string> ModuleFilePath() override;
    // See CodePageForCharset for the table.
    unsigned AnsiCodePage() override;
    std::int64_t CurrentTime() override;
};

}  // namespace quillmere
