#include "support/TestFileSystem.h"

namespace quillmere::testing {

std::unique_ptr<InputFile> TestFileSystem::OpenForReading(const std::string& path) {
    return real_.OpenForReading(path);
}

std::unique_ptr<OutputFile> TestFileSystem::CreateForWriting(const std::string& path,
                                                             FileKind kind) {
    createAttempts.push_back(path);
    if (failCreatesAfter && static_cast<int>(createdFiles.size()) >= *failCreatesAfter) {
        return nullptr;
    }
    auto file = real_.CreateForWriting(path, kind);
    if (file) createdFiles.push_back(path);
    return file;
}

bool TestFileSystem::Exists(const std::string& path) { return real_.Exists(path); }

bool TestFileSystem::RemoveFile(const std::string& path) {
    removedFiles.push_back(path);
    removals.push_back(path);
    return real_.RemoveFile(path);
}

CreateDirectoryResult TestFileSystem::CreateFolder(const std::string& path) {
    createDirectoryCalls.push_back(path);
    if (forcedCreateDirectory) return *forcedCreateDirectory;
    return real_.CreateFolder(path);
}

bool TestFileSystem::RemoveFolder(const std::string& path) {
    removedFolders.push_back(path);
    removals.push_back(path);
    return real_.RemoveFolder(path);
}

}  // namespace quillmere::testing
