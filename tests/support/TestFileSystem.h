#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/NativeBackend.h"

namespace quillmere::testing {

// The real file system, with the temporary folder of the test's choosing and faults to order. File
// buffers stay on the C heap (the interface's default), where AddressSanitizer sees any read past a
// book's end; the platform's own large buffers have tests of their own.
class TestFileSystem : public FileSystem {
  public:
    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
    std::unique_ptr<OutputFile> CreateForWriting(const std::string& path, FileKind kind) override;
    bool Exists(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    CreateDirectoryResult CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    std::optional<std::string> TemporaryDirectory() override { return temporaryDirectory; }
    std::string FallbackTemporaryDirectory() override { return fallbackTemporaryDirectory; }
    std::unique_ptr<FolderLock> LockFolder(const std::string& folder) override {
        return real_.LockFolder(folder);
    }
    void RemoveOrphanedFolders(const std::string& parent, const std::string& prefix) override {
        real_.RemoveOrphanedFolders(parent, prefix);
    }

    std::optional<std::string> temporaryDirectory;
    std::string fallbackTemporaryDirectory = NativeFileSystem().FallbackTemporaryDirectory();
    // Every CreateFolder gives this instead of creating anything.
    std::optional<CreateDirectoryResult> forcedCreateDirectory;
    // Files created for writing after this many have been created fail to open (0: all do).
    std::optional<int> failCreatesAfter;

    std::vector<std::string> createAttempts;  // every CreateForWriting, failed ones too
    std::vector<std::string> createdFiles;
    std::vector<std::string> createDirectoryCalls;
    std::vector<std::string> removedFiles;
    std::vector<std::string> removedFolders;
    // Files and folders removed, in order; a folder's path ends with its separator.
    std::vector<std::string> removals;

  private:
    NativeFileSystem real_;
};

}  // namespace quillmere::testing
