#pragma once

#include "platform/FileSystem.h"

namespace quillmere {

// Files and folders through the ANSI Win32 calls: paths are text in the user's code page. Nothing
// is ever written through a reparse point (symbolic link, junction) or into a device.
class Win32FileSystem : public FileSystem {
  public:
    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
    std::unique_ptr<OutputFile> CreateForWriting(const std::string& path, FileKind kind) override;
    bool Exists(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    CreateDirectoryResult CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    // GetTempPathW, which ends in '\', in its ANSI form (see AnsiPaths.h); nullopt when it fails,
    // does not fit 264 characters or has no ANSI form.
    std::optional<std::string> TemporaryDirectory() override;
    std::string FallbackTemporaryDirectory() override { return "c:\\"; }
    std::unique_ptr<FolderLock> LockFolder(const std::string& folder) override;
    void RemoveOrphanedFolders(const std::string& parent, const std::string& prefix) override;
};

}  // namespace quillmere
