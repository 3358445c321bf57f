#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/System.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace quillmere::testing {

// The real platform pieces that in-process tests run on.
using NativeFileSystem = Win32FileSystem;
using NativeProcesses = Win32Processes;

// Settings in memory: tests running side by side must not share the user's registry.
class HarnessRegistry : public MemoryRegistry {
  public:
    explicit HarnessRegistry(const std::string& /*unused path*/) {}
};
inline constexpr const char* kNoRegistryFile = "the harness keeps its settings in memory";

inline void SeedHarnessRegistry(HarnessRegistry& registry, const std::string& /*path*/,
                                std::string_view subkey, std::string_view name,
                                RegistryValueType type, std::string_view bytes) {
    registry.Set(subkey, name, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

inline void MakeRegistryWritesFail(HarnessRegistry& registry, const TempDir& /*root*/) {
    registry.failWrites = true;
}

// The file in a running viewer's Workspace that holds its lock.
inline constexpr const char* kWorkspaceLockName = "lock.";

inline constexpr char kNativeSeparator = '\\';

inline constexpr const char* kNoPermissionBits =
    "a folder here is kept private by its access list, not by permission bits";
inline std::optional<unsigned> PermissionBits(const std::string& /*path*/) { return std::nullopt; }

inline constexpr const char* kNamesAreNotBytes =
    "a file name here is characters of the system's code page, not bytes";
inline constexpr const char* kDeviceNamesAreReserved =
    "\"Con\" names the console here, whatever follows the dot";

// The arguments a started program sees when `given` (argument 0 first) are passed: the command
// line is them joined by blanks, and the program's runtime splits it at blanks again (`given`
// holds no quotes).
inline std::vector<std::string> ArgumentsAsReceived(const std::vector<std::string>& given) {
    std::vector<std::string> received;
    for (const std::string& argument : given) {
        std::string word;
        for (char c : argument + ' ') {
            if (c != ' ' && c != '\t') {
                word += c;
            } else if (!word.empty()) {
                received.push_back(word);
                word.clear();
            }
        }
    }
    return received;
}

// Windows separators and folder case; the harness's books are not named ".exe", so the image is
// read from the module path itself.
inline PathConventions HarnessConventions() { return PathConventions{'\\', true, true}; }

}  // namespace quillmere::testing
