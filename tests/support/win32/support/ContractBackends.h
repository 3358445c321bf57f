#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "support/ContractFakes.h"
#include "support/TempDir.h"
#include "support/Win32TestSupport.h"

// The backends of this build that the contract suites run against, beside the doubles.
namespace quillmere::testing {

// The registry of the system (Wine's under test), in a key of the test's own.
struct Win32RegistryBackend {
    static constexpr const char* kName = "Win32Registry";
    Registry& registry() { return system; }
    void Seed(std::string_view subkey, std::string_view name, RegistryValueType type,
              std::string_view bytes) {
        SetRegistryValue(std::string(subkey), std::string(name), static_cast<DWORD>(type),
                         std::string(bytes));
    }

    ScratchKey scratch;
    std::string root = scratch.path();
    Win32Registry system;
};

struct Win32FileSystemBackend {
    static constexpr const char* kName = "Win32FileSystem";
    static constexpr char kSeparator = '\\';
    static constexpr const char* kNotOnDisk = "";
    FileSystem& fileSystem() { return files; }

    TempDir dir;
    std::string folder = dir.File("");
    Win32FileSystem files;
};

struct Win32ProcessesBackend {
    static constexpr const char* kName = "Win32Processes";
    static constexpr const char* kStartsNothing = "";
    Processes& processes() { return real; }

    Win32Processes real;
};

using RegistryBackends = ::testing::Types<MemoryRegistryBackend, Win32RegistryBackend>;
using FileSystemBackends =
    ::testing::Types<TestFileSystemBackend, MemoryFilesBackend, Win32FileSystemBackend>;
using ProcessesBackends = ::testing::Types<NoProcessesBackend, Win32ProcessesBackend>;

}  // namespace quillmere::testing
