#pragma once

#include "platform/FileSystem.h"

namespace quillmere {

// Files and folders through POSIX calls. Everything the viewer writes is private to its user, and
// no write ever goes through a symbolic link or into anything but a regular file.
class PosixFileSystem : public FileSystem {
  public:
    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override;
    std::unique_ptr<OutputFile> CreateForWriting(const std::string& path, FileKind kind) override;
    // A dangling symbolic link counts as existing, so nobody writes through it.
    bool Exists(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    CreateDirectoryResult CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    // $TMPDIR when it is an absolute path, else "/tmp"; always with exactly one trailing '/'.
    std::optional<std::string> TemporaryDirectory() override;
    std::string FallbackTemporaryDirectory() override { return "/tmp/"; }
    // The lock is an flock on the file ":lock" (a colon is in no name a book may carry), made
    // under another name and linked into place once locked, so it is never seen unlocked. Fails
    // when the folder has a lock file already.
    std::unique_ptr<FolderLock> LockFolder(const std::string& folder) override;
    void RemoveOrphanedFolders(const std::string& parent, const std::string& prefix) override;
};

}  // namespace quillmere
