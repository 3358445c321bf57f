#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"
#include "support/FakePlatform.h"
#include "support/MemoryFiles.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"

// The doubles that tests use in place of a seam interface, in the form the contract suites take
// every backend: what they cannot do by design they say, and the case skips there.
namespace quillmere::testing {

// A registry backend gives the interface, a key of the test's own below which every key a test uses
// lies, and a way to store a value as another program would, not through the interface.
struct MemoryRegistryBackend {
    static constexpr const char* kName = "MemoryRegistry";
    Registry& registry() { return memory; }
    std::string root = "Software\\Tallowbrook\\Contract";
    void Seed(std::string_view subkey, std::string_view name, RegistryValueType type,
              std::string_view bytes) {
        memory.Set(subkey, name, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }

    MemoryRegistry memory;
};

// A file system backend gives the interface, an empty folder of the test's own (`folder`, with its
// trailing separator), the separator its folders end with, and why it keeps nothing on disk (no
// folders, links or locks) when it does not.
struct TestFileSystemBackend {
    static constexpr const char* kName = "TestFileSystem";
    static constexpr char kSeparator = kNativeSeparator;
    static constexpr const char* kNotOnDisk = "";
    TestFileSystemBackend() { files.temporaryDirectory = folder; }
    FileSystem& fileSystem() { return files; }

    TempDir dir;
    std::string folder = dir.File("");
    TestFileSystem files;
};

struct MemoryFilesBackend {
    static constexpr const char* kName = "MemoryFiles";
    static constexpr char kSeparator = '/';
    static constexpr const char* kNotOnDisk = "files in memory have no folders, links or locks";
    FileSystem& fileSystem() { return files; }

    std::string folder = "/memory/";
    MemoryFiles files;
};

// A processes backend gives the interface and why it starts no program, when it does not.
struct NoProcessesBackend {
    static constexpr const char* kName = "NoProcesses";
    static constexpr const char* kStartsNothing = "the double starts nothing by design";
    Processes& processes() { return none; }

    NoProcesses none;
};

// Names the typed cases after the backend they run on.
struct BackendName {
    template <typename Backend>
    static std::string GetName(int) {
        return Backend::kName;
    }
};

}  // namespace quillmere::testing
