#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "package/AppContext.h"
#include "records/RecordLayout.h"
#include "records/UnmergedRecordBlock.h"
#include "support/FakePlatform.h"

namespace quillmere::testing {

// Loading the records touches only the message box and the process end; the rest refuses.
class NoFiles : public FileSystem {
  public:
    std::unique_ptr<InputFile> OpenForReading(const std::string&) override { return nullptr; }
    std::unique_ptr<OutputFile> CreateForWriting(const std::string&, FileKind) override {
        return nullptr;
    }
    bool Exists(const std::string&) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
    CreateDirectoryResult CreateFolder(const std::string&) override {
        return CreateDirectoryResult::Failed;
    }
    bool RemoveFolder(const std::string&) override { return false; }
    std::optional<std::string> TemporaryDirectory() override { return std::nullopt; }
    std::string FallbackTemporaryDirectory() override { return "/nowhere/"; }
    std::unique_ptr<FolderLock> LockFolder(const std::string&) override { return nullptr; }
    void RemoveOrphanedFolders(const std::string&, const std::string&) override {}
};

class NoProcesses : public Processes {
  public:
    ProcessHandle Start(const std::string&, const std::vector<std::string>&) override {
        return kFailedProcess;
    }
    int Wait(ProcessHandle) override { return -1; }
    void Close(ProcessHandle) override {}
};

struct RecordsTestContext {
    FakeDialogs dialogs;
    FakeLifetime lifetime;
    NoFiles files;
    MemoryRegistry registry;
    FakeSystem system;
    NoProcesses processes;
    FakeShell shell;
    FakeWindowing windowing;
    Platform platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};
    AppContext ctx{platform, {}};
};

// The stub's record block as built, in a heap buffer of exactly its size so that the sanitizers
// notice any read past it.
inline std::vector<std::uint8_t> UnmergedBlockCopy() {
    const RecordBlock block = UnmergedRecordBlock();
    return std::vector<std::uint8_t>(block.begin(), block.end());
}

}  // namespace quillmere::testing
