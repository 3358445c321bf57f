#pragma once

#include "platform/System.h"

namespace quillmere {

// The process's view of itself on any POSIX system. The code page comes from the locale, so the
// program must have called setlocale(LC_ALL, "") first (the services of each system do). Where the
// running executable is has no POSIX call: each system's backend answers ModuleFilePath.
class PosixSystem : public System {
  public:
    PathConventions Conventions() override;
    // See CodePageForCharset for the table.
    unsigned AnsiCodePage() override;
    std::int64_t CurrentTime() override;
};

}  // namespace quillmere
