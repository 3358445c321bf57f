#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/FolderLock.h"
#include "platform/HeapBuffer.h"

namespace quillmere {

class InputFile {
  public:
    virtual ~InputFile() = default;
    virtual std::optional<std::uint64_t> Size() = 0;
    // Reads up to `count` bytes; false on a read error. `got` is 0 at the end of the file.
    virtual bool Read(void* buffer, std::size_t count, std::size_t& got) = 0;
    virtual bool Close() = 0;
};

class OutputFile {
  public:
    virtual ~OutputFile() = default;
    virtual bool Write(const void* data, std::size_t count) = 0;
    virtual bool Close() = 0;
};

// Documents are readable by their owner only; programs are also executable by their owner.
enum class FileKind { Document, Program };

enum class CreateDirectoryResult { Created, AlreadyExists, Failed };

// File and folder access. Paths are 8-bit text in the user's code page.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // nullptr when the file cannot be opened.
    virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;
    // Memory for `size` bytes that a file is about to be read into, not zeroed; nullptr when there
    // is none. A platform may lay out a large buffer so that filling and working on it costs less.
    virtual HeapBuffer AllocateFileBuffer(std::size_t size) {
        return HeapBuffer(static_cast<std::uint8_t*>(std::malloc(size)));
    }
    // Creates or truncates. Never follows a symbolic link at `path`. nullptr on failure.
    virtual std::unique_ptr<OutputFile> CreateForWriting(const std::string& path,
                                                         FileKind kind) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool RemoveFile(const std::string& path) = 0;
    // Only the caller's own user may enter the folder.
    virtual CreateDirectoryResult CreateFolder(const std::string& path) = 0;
    // Succeeds only for an empty folder.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // The user's temporary folder with a trailing separator; nullopt when it cannot be determined.
    virtual std::optional<std::string> TemporaryDirectory() = 0;
    // A folder that exists on every machine of this platform, with a trailing separator: where
    // the redirect page goes when TemporaryDirectory gives nothing.
    virtual std::string FallbackTemporaryDirectory() = 0;

    // Creates the lock file in `folder` (given with its trailing separator) and holds its lock;
    // nullptr when it cannot. The lock file is never one of the names a book may carry.
    virtual std::unique_ptr<FolderLock> LockFolder(const std::string& folder) = 0;
    // Removes every folder directly in `parent` whose name begins with `prefix`, that belongs to
    // this user and whose lock can be taken: the files in it, its lock file, then the folder.
    // Anything else (a folder without a lock file, one whose lock is held) is left untouched.
    virtual void RemoveOrphanedFolders(const std::string& parent, const std::string& prefix) = 0;
};

}  // namespace quillmere
