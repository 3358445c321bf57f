#include "platform/linux/LinuxSystem.h"

#include <cstdlib>
#include <memory>

namespace quillmere {

std::optional<std::string> LinuxSystem::ModuleFilePath() {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath("/proc/self/exe", nullptr),
                                                         &std::free);
    if (!resolved) return std::nullopt;
    return std::string(resolved.get());
}

}  // namespace quillmere
