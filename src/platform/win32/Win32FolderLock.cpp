#include "platform/win32/Win32FolderLock.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Win32Handle.h"

namespace quillmere {

namespace {

constexpr const char* kLockName = "lock.";

// `folder` with exactly one trailing backslash.
std::string WithSeparator(std::string folder) {
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
    return folder;
}

// The "\\?\" form takes a name as it is, trailing dot included, but only with backslashes. A
// slash is never the trail byte of a two-byte character, so replacing it is safe in every code
// page.
std::string LockPath(const std::string& folder) {
    std::string path = "\\\\?\\" + WithSeparator(folder) + kLockName;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

HANDLE OpenExclusively(const std::string& lockPath, DWORD disposition) {
    return CreateFileA(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                       disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Marks the open lock file for deletion and closes it, so it goes while still held.
void DeleteAndClose(HANDLE& lock, const std::string& lockPath) {
    FILE_DISPOSITION_INFO dispose{};
    dispose.DeleteFile = TRUE;
    const bool marked =
        SetFileInformationByHandle(lock, FileDispositionInfo, &dispose, sizeof dispose) != 0;
    CloseOnce(lock);
    if (!marked) DeleteFileA(lockPath.c_str());
}

class Win32FolderLock final : public FolderLock {
  public:
    Win32FolderLock(HANDLE lock, std::string path) : lock_(lock), path_(std::move(path)) {}
    ~Win32FolderLock() override { CloseOnce(lock_); }

    void Remove() override {
        if (lock_ != INVALID_HANDLE_VALUE) DeleteAndClose(lock_, path_);
    }

  private:
    HANDLE lock_;
    std::string path_;
};

struct FolderEntry {
    std::string name;
    DWORD attributes = 0;
};

std::vector<FolderEntry> EntriesMatching(const std::string& pattern) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") entries.push_back({name, found.dwFileAttributes});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

void RemoveIfOrphaned(const std::string& folder) {
    const std::string lockPath = LockPath(folder);
    HANDLE lock = OpenExclusively(lockPath, OPEN_EXISTING);
    if (lock == INVALID_HANDLE_VALUE) return;  // no lock file, or its viewer still runs
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(lock, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        CloseOnce(lock);
        return;
    }
    for (const FolderEntry& entry : EntriesMatching(folder + "*")) {
        // Folders inside stay, and so does the folder; links are removed, never followed.
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        if (entry.name == kLockName) continue;
        DeleteFileA((folder + entry.name).c_str());
    }
    DeleteAndClose(lock, lockPath);
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::unique_ptr<FolderLock> LockWin32Folder(const std::string& folder) {
    const std::string path = LockPath(folder);
    HANDLE lock = OpenExclusively(path, CREATE_NEW);
    if (lock == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32FolderLock>(lock, path);
}

void RemoveOrphanedWin32Folders(const std::string& parent, const std::string& prefix) {
    if (prefix.empty()) return;
    const std::string base = WithSeparator(parent);
    for (const FolderEntry& entry : EntriesMatching(base + prefix + "*")) {
        // The pattern also matches short 8.3 names, and letter case is ignored.
        if (entry.name.compare(0, prefix.size(), prefix) != 0) continue;
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
        // A junction or link named like a Workspace leads elsewhere: never entered.
        if ((entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) continue;
        RemoveIfOrphaned(base + entry.name + "\\");
    }
}

}  // namespace quillmere
