#pragma once

#include <set>
#include <string>
#include <vector>

#include "support/MemoryFiles.h"

namespace quillmere::fuzzing {

// Files and folders in memory under one temporary folder; remembers every path written so a
// harness can tell where each write landed.
class WorkspaceFiles : public testing::MemoryFiles {
  public:
    explicit WorkspaceFiles(std::string temporary) : temporary_(std::move(temporary)) {}

    std::unique_ptr<OutputFile> CreateForWriting(const std::string& path, FileKind kind) override {
        written.push_back(path);
        return MemoryFiles::CreateForWriting(path, kind);
    }
    CreateDirectoryResult CreateFolder(const std::string& path) override {
        return folders.insert(WithoutSeparator(path)).second ? CreateDirectoryResult::Created
                                                             : CreateDirectoryResult::AlreadyExists;
    }
    bool RemoveFolder(const std::string& path) override {
        const std::string folder = WithoutSeparator(path);
        const auto inside = files.lower_bound(folder + '/');
        if (inside != files.end() && inside->first.starts_with(folder + '/')) return false;
        return folders.erase(folder) != 0;
    }
    std::optional<std::string> TemporaryDirectory() override { return temporary_; }

    std::set<std::string> folders;
    std::vector<std::string> written;

  private:
    static std::string WithoutSeparator(std::string path) {
        if (!path.empty() && path.back() == '/') path.pop_back();
        return path;
    }

    std::string temporary_;
};

}  // namespace quillmere::fuzzing
