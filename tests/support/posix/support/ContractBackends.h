#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/linux/LinuxFileSystem.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcesses.h"
#include "support/ContractFakes.h"
#include "support/SeededRegistry.h"
#include "support/TempDir.h"

// The backends of this build that the contract suites run against, beside the doubles.
namespace quillmere::testing {

// The registry file, filled as another program would write it.
struct RegFileRegistryBackend {
    static constexpr const char* kName = "RegFileRegistry";
    Registry& registry() { return seeded.registry(); }
    std::string root = "Software\\Tallowbrook\\Contract";
    void Seed(std::string_view subkey, std::string_view name, RegistryValueType type,
              std::string_view bytes) {
        seeded.Seed(subkey, name, type, bytes);
    }

    TempDir dir;
    SeededRegistry seeded{dir};
};

template <typename Files>
struct NativeFileSystemBackend {
    static constexpr char kSeparator = '/';
    static constexpr const char* kNotOnDisk = "";
    FileSystem& fileSystem() { return files; }

    TempDir dir;
    std::string folder = dir.File("");
    Files files;
};

struct PosixFileSystemBackend : NativeFileSystemBackend<PosixFileSystem> {
    static constexpr const char* kName = "PosixFileSystem";
};

struct LinuxFileSystemBackend : NativeFileSystemBackend<LinuxFileSystem> {
    static constexpr const char* kName = "LinuxFileSystem";
};

struct PosixProcessesBackend {
    static constexpr const char* kName = "PosixProcesses";
    static constexpr const char* kStartsNothing = "";
    Processes& processes() { return real; }

    PosixProcesses real;
};

using RegistryBackends = ::testing::Types<MemoryRegistryBackend, RegFileRegistryBackend>;
using FileSystemBackends = ::testing::Types<TestFileSystemBackend, MemoryFilesBackend,
                                            PosixFileSystemBackend, LinuxFileSystemBackend>;
using ProcessesBackends = ::testing::Types<NoProcessesBackend, PosixProcessesBackend>;

}  // namespace quillmere::testing
