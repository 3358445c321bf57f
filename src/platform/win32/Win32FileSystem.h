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
    // GetTempPathA, which ends in '\'; nullopt when it fails or does not fit 264 characters.
    std::optional<std::string> TemporaryDirectory() override;
};

}  // namespace quillmere
