#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "platform/win32/AnsiPaths.h"
#include "platform/win32/Win32FolderLock.h"
#include "platform/win32/Win32Handle.h"

namespace quillmere {

namespace {

// The largest transfer asked of one ReadFile or WriteFile call.
constexpr std::size_t kMaxTransfer = 1u << 30;
// The buffer GetTempPathW gets: MAX_PATH plus room for the trailing separator and more.
constexpr DWORD kTempPathBuffer = 264;

class Win32InputFile final : public InputFile {
  public:
    explicit Win32InputFile(HANDLE file) : file_(file) {}
    ~Win32InputFile() override { CloseOnce(file_); }

    std::optional<std::uint64_t> Size() override {
        LARGE_INTEGER size{};
        if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &size) || size.QuadPart < 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    bool Read(void* buffer, std::size_t count, std::size_t& got) override {
        got = 0;
        if (file_ == INVALID_HANDLE_VALUE) return false;
        DWORD read = 0;
        if (!ReadFile(file_, buffer, static_cast<DWORD>(std::min(count, kMaxTransfer)), &read,
                      nullptr)) {
            return false;
        }
        got = read;
        return true;
    }

    bool Close() override { return CloseOnce(file_); }

  private:
    HANDLE file_;
};

class Win32OutputFile final : public OutputFile {
  public:
    explicit Win32OutputFile(HANDLE file) : file_(file) {}
    ~Win32OutputFile() override { CloseOnce(file_); }

    bool Write(const void* data, std::size_t count) override {
        if (file_ == INVALID_HANDLE_VALUE) return false;
        const char* next = static_cast<const char*>(data);
        while (count > 0) {
            DWORD written = 0;
            if (!WriteFile(file_, next, static_cast<DWORD>(std::min(count, kMaxTransfer)), &written,
                           nullptr) ||
                written == 0) {
                return false;
            }
            next += written;
            count -= written;
        }
        return true;
    }

    bool Close() override { return CloseOnce(file_); }

  private:
    HANDLE file_;
};

}  // namespace

std::unique_ptr<InputFile> Win32FileSystem::OpenForReading(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32InputFile>(file);
}

std::unique_ptr<OutputFile> Win32FileSystem::CreateForWriting(const std::string& path,
                                                              FileKind /*kind*/) {
    // FILE_FLAG_OPEN_REPARSE_POINT opens a link or junction itself instead of what it points to,
    // so it can be recognised and refused. Truncation waits until the target is known to be a
    // plain file on disk, so a refused target is left as it was.
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    auto file = std::make_unique<Win32OutputFile>(handle);

    BY_HANDLE_FILE_INFORMATION info{};
    const bool usable =
        GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
        SetEndOfFile(handle);
    if (!usable) return nullptr;
    return file;
}

bool Win32FileSystem::Exists(const std::string& path) {
    // A link counts by itself, whether or not its target exists, so nobody writes through it.
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

CreateDirectoryResult Win32FileSystem::CreateFolder(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return CreateDirectoryResult::Created;
    return GetLastError() == ERROR_ALREADY_EXISTS ? CreateDirectoryResult::AlreadyExists
                                                  : CreateDirectoryResult::Failed;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    return RemoveDirectoryA(path.c_str()) != 0;
}

std::optional<std::string> Win32FileSystem::TemporaryDirectory() {
    wchar_t buffer[kTempPathBuffer];
    const DWORD length = GetTempPathW(kTempPathBuffer, buffer);
    // A length of the buffer or more is the size it would have needed: nothing was written.
    if (length == 0 || length >= kTempPathBuffer) return std::nullopt;
    return SystemAnsiPath(std::wstring(buffer, length));
}

std::unique_ptr<FolderLock> Win32FileSystem::LockFolder(const std::string& folder) {
    return LockWin32Folder(folder);
}

void Win32FileSystem::RemoveOrphanedFolders(const std::string& parent, const std::string& prefix) {
    RemoveOrphanedWin32Folders(parent, prefix);
}

}  // namespace quillmere
