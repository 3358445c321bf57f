#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/System.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/RegFileRegistry.h"
#include "support/TempDir.h"

namespace quillmere::testing {

// The real platform pieces that in-process tests run on.
using NativeFileSystem = PosixFileSystem;
using NativeProcesses = PosixProcesses;
// The harness keeps its settings in a .reg file of its own.
using HarnessRegistry = RegFileRegistry;
// Why the harness's settings are in no file that a test could read; empty when they are.
inline constexpr const char* kNoRegistryFile = "";

// Stores a value in the harness's registry file at `path` as another program would.
void SeedHarnessRegistry(HarnessRegistry& registry, const std::string& path,
                         std::string_view subkey, std::string_view name, RegistryValueType type,
                         std::string_view bytes);

// From now on every write fails: the registry file's folder is a plain file.
inline void MakeRegistryWritesFail(HarnessRegistry& registry, const TempDir& root) {
    root.Write("not-a-folder", "x");
    registry = RegFileRegistry(root.File("not-a-folder") + "/registry.reg");
}

// The file in a running viewer's Workspace that holds its lock.
inline constexpr const char* kWorkspaceLockName = ":lock";

inline constexpr char kNativeSeparator = '/';

// Why tests cannot read who may enter a folder as permission bits; empty where they can.
inline constexpr const char* kNoPermissionBits = "";
// The permission bits of `path`; nullopt when it cannot be read.
inline std::optional<unsigned> PermissionBits(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return info.st_mode & 0777;
}

// Why a file name here is not any string of bytes; empty where it is.
inline constexpr const char* kNamesAreNotBytes = "";
// Why no file can be named after a device ("Con.htm"); empty where one can.
inline constexpr const char* kDeviceNamesAreReserved = "";

// The arguments a started program sees when `given` (argument 0 first) are passed: these.
inline std::vector<std::string> ArgumentsAsReceived(std::vector<std::string> given) {
    return given;
}

inline PathConventions HarnessConventions() { return PathConventions{'/', false, true}; }

}  // namespace quillmere::testing
