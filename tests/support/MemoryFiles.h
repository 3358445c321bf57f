#pragma once

#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "platform/FileSystem.h"

namespace quillmere::testing {

// Files held in memory, with switches that make each step of reading or writing fail.
class MemoryFiles : public FileSystem {
  public:
    struct File {
        std::string bytes;
        FileKind kind = FileKind::Document;
    };
    std::map<std::string, File> files;

    // Reading: a reported size other than the real one, no size at all, at most this many bytes
    // per Read call, the end of the data arriving early, or a failing Read or Close.
    std::optional<std::uint64_t> reportedSize;
    bool sizeUnknown = false;
    std::size_t readChunk = 0;  // 0: no limit
    bool readFails = false;
    bool readCloseFails = false;
    // Writing: creation, Write or Close failing.
    bool createFails = false;
    bool writeFails = false;
    bool writeCloseFails = false;
    int closedInputs = 0;

    std::unique_ptr<InputFile> OpenForReading(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        return std::make_unique<Input>(*this, it->second.bytes);
    }
    std::unique_ptr<OutputFile> CreateForWriting(const std::string& path, FileKind kind) override {
        if (createFails) return nullptr;
        File& file = files[path];
        file.bytes.clear();
        file.kind = kind;
        return std::make_unique<Output>(*this, file.bytes);
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool RemoveFile(const std::string& path) override { return files.erase(path) != 0; }
    CreateDirectoryResult CreateFolder(const std::string&) override {
        return CreateDirectoryResult::Failed;
    }
    bool RemoveFolder(const std::string&) override { return false; }
    std::optional<std::string> TemporaryDirectory() override { return std::nullopt; }
    std::string FallbackTemporaryDirectory() override { return "/memory/"; }
    std::unique_ptr<FolderLock> LockFolder(const std::string&) override { return nullptr; }
    void RemoveOrphanedFolders(const std::string&, const std::string&) override {}

  private:
    class Input : public InputFile {
      public:
        Input(MemoryFiles& owner, const std::string& bytes) : owner_(owner), bytes_(bytes) {}
        std::optional<std::uint64_t> Size() override {
            if (owner_.sizeUnknown) return std::nullopt;
            return owner_.reportedSize ? *owner_.reportedSize : bytes_.size();
        }
        bool Read(void* buffer, std::size_t count, std::size_t& got) override {
            if (owner_.readFails) return false;
            got = std::min(count, bytes_.size() - at_);
            if (owner_.readChunk != 0) got = std::min(got, owner_.readChunk);
            std::memcpy(buffer, bytes_.data() + at_, got);
            at_ += got;
            return true;
        }
        bool Close() override {
            ++owner_.closedInputs;
            return !owner_.readCloseFails;
        }

      private:
        MemoryFiles& owner_;
        std::string bytes_;
        std::size_t at_ = 0;
    };

    class Output : public OutputFile {
      public:
        Output(MemoryFiles& owner, std::string& bytes) : owner_(owner), bytes_(bytes) {}
        bool Write(const void* data, std::size_t count) override {
            if (owner_.writeFails) return false;
            bytes_.append(static_cast<const char*>(data), count);
            return true;
        }
        bool Close() override { return !owner_.writeCloseFails; }

      private:
        MemoryFiles& owner_;
        std::string& bytes_;
    };
};

}  // namespace quillmere::testing
