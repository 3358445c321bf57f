#include "platform/posix/PosixSystem.h"

#include <langinfo.h>

#include <ctime>

#include "platform/posix/CodePages.h"

namespace quillmere {

PathConventions PosixSystem::Conventions() {
    return PathConventions{'/', /*lowerCaseModuleFolder=*/false, /*selfImageIsModuleFile=*/true};
}

unsigned PosixSystem::AnsiCodePage() {
    const char* charset = nl_langinfo(CODESET);
    return CodePageForCharset(charset != nullptr ? charset : "");
}

std::int64_t PosixSystem::CurrentTime() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace quillmere
