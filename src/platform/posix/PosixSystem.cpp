#include "platform/posix/PosixSystem.h"

#include <langinfo.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <memory>

#include "platform/posix/CodePages.h"

namespace quillmere {

PathConventions PosixSystem::Conventions() {
    return PathConventions{'/', /*lowerCaseModuleFolder=*/false, /*selfImageIsModuleFile=*/true};
}

std::optional<std::string> PosixSystem::ModuleFilePath() {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath("/proc/self/exe", nullptr),
                                                         &std::free);
    if (!resolved) return std::nullopt;
    return std::string(resolved.get());
}

unsigned PosixSystem::AnsiCodePage() {
    const char* charset = nl_langinfo(CODESET);
    return CodePageForCharset(charset != nullptr ? charset : "");
}

std::int64_t PosixSystem::CurrentTime() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace quillmere
