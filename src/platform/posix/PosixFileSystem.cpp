#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace quillmere {

namespace {

constexpr mode_t kDocumentMode = 0600;
constexpr mode_t kProgramMode = 0700;
constexpr mode_t kFolderMode = 0700;
constexpr const char* kLockName = ":lock";
constexpr const char* kPendingLockName = ":lock-new";

// Closes `fd` once; later calls succeed without doing anything.
bool CloseDescriptor(int& fd) {
    if (fd < 0) return true;
    const int closing = fd;
    fd = -1;
    // Linux releases the descriptor even when close reports EINTR: never retry it.
    return close(closing) == 0;
}

class PosixInputFile final : public InputFile {
  public:
    explicit PosixInputFile(int fd) : fd_(fd) {}
    ~PosixInputFile() override { CloseDescriptor(fd_); }

    std::optional<std::uint64_t> Size() override {
        struct stat info {};
        if (fd_ < 0 || fstat(fd_, &info) != 0 || info.st_size < 0) return std::nullopt;
        return static_cast<std::uint64_t>(info.st_size);
    }

    bool Read(void* buffer, std::size_t count, std::size_t& got) override {
        got = 0;
        if (fd_ < 0) return false;
        for (;;) {
            ssize_t n = read(fd_, buffer, count);
            if (n >= 0) {
                got = static_cast<std::size_t>(n);
                return true;
            }
            if (errno != EINTR) return false;
        }
    }

    bool Close() override { return CloseDescriptor(fd_); }

  private:
    int fd_;
};

class PosixOutputFile final : public OutputFile {
  public:
    explicit PosixOutputFile(int fd) : fd_(fd) {}
    ~PosixOutputFile() override { CloseDescriptor(fd_); }

    bool Write(const void* data, std::size_t count) override {
        if (fd_ < 0) return false;
        const char* next = static_cast<const char*>(data);
        while (count > 0) {
            ssize_t n = write(fd_, next, count);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            next += n;
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool Close() override { return CloseDescriptor(fd_); }

  private:
    int fd_;
};

class PosixFolderLock final : public FolderLock {
  public:
    PosixFolderLock(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixFolderLock() override { CloseDescriptor(fd_); }

    void Remove() override {
        if (fd_ < 0) return;
        // Only while the name is still this lock file.
        struct stat held {};
        struct stat named {};
        if (fstat(fd_, &held) == 0 && lstat(path_.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            unlink(path_.c_str());
        }
        CloseDescriptor(fd_);
    }

  private:
    int fd_;
    std::string path_;
};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Names in the folder open as `folderFd`, "." and ".." left out.
std::vector<std::string> NamesIn(int folderFd) {
    std::vector<std::string> names;
    const int listing = dup(folderFd);
    if (listing < 0) return names;
    DIR* dir = fdopendir(listing);
    if (dir == nullptr) {
        close(listing);
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
}

// Removes the folder `name` in `parentFd` when it is this user's and its lock can be taken.
void RemoveIfOrphaned(int parentFd, const std::string& name) {
    const int folder =
        openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) return;
    struct stat folderInfo {};
    const int lock = fstat(folder, &folderInfo) == 0 && folderInfo.st_uid == geteuid()
                         ? openat(folder, kLockName, O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK)
                         : -1;
    struct stat lockInfo {};
    struct stat lockNamed {};
    // Taken, and still the file of that name: an earlier remover may have unlinked it.
    const bool orphaned = lock >= 0 && fstat(lock, &lockInfo) == 0 && S_ISREG(lockInfo.st_mode) &&
                          lockInfo.st_uid == geteuid() && flock(lock, LOCK_EX | LOCK_NB) == 0 &&
                          fstatat(folder, kLockName, &lockNamed, AT_SYMLINK_NOFOLLOW) == 0 &&
                          SameFile(lockInfo, lockNamed);
    if (orphaned) {
        for (const std::string& entry : NamesIn(folder)) {
            if (entry != kLockName) unlinkat(folder, entry.c_str(), 0);  // folders inside stay
        }
        unlinkat(folder, kLockName, 0);
        struct stat named {};
        if (fstatat(parentFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            SameFile(named, folderInfo)) {
            unlinkat(parentFd, name.c_str(), AT_REMOVEDIR);
        }
    }
    if (lock >= 0) close(lock);
    close(folder);
}

}  // namespace

std::unique_ptr<InputFile> PosixFileSystem::OpenForReading(const std::string& path) {
    int fd;
    do {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixInputFile>(fd);
}

std::unique_ptr<OutputFile> PosixFileSystem::CreateForWriting(const std::string& path,
                                                              FileKind kind) {
    const mode_t mode = kind == FileKind::Program ? kProgramMode : kDocumentMode;
    // O_NOFOLLOW refuses a symbolic link at the path; O_NONBLOCK keeps a FIFO from blocking the
    // open. Truncation waits until the target is known to be a regular file of ours with no other
    // name, so a refused target is left as it was.
    int fd;
    do {
        fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;

    auto file = std::make_unique<PosixOutputFile>(fd);
    struct stat info {};
    // A second name (a hard link planted in a shared folder) or another owner means the file is
    // not ours to overwrite.
    const bool usable = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1 &&
                        info.st_uid == geteuid() &&
                        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 &&
                        // The creation mode does not apply to a file that was already there.
                        fchmod(fd, mode) == 0 && ftruncate(fd, 0) == 0;
    if (!usable) return nullptr;
    return file;
}

bool PosixFileSystem::Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool PosixFileSystem::RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

CreateDirectoryResult PosixFileSystem::CreateFolder(const std::string& path) {
    if (mkdir(path.c_str(), kFolderMode) == 0) return CreateDirectoryResult::Created;
    return errno == EEXIST ? CreateDirectoryResult::AlreadyExists : CreateDirectoryResult::Failed;
}

bool PosixFileSystem::RemoveFolder(const std::string& path) { return rmdir(path.c_str()) == 0; }

std::optional<std::string> PosixFileSystem::TemporaryDirectory() {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir != nullptr && tmpdir[0] == '/' ? tmpdir : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::unique_ptr<FolderLock> PosixFileSystem::LockFolder(const std::string& folder) {
    std::string base = folder;
    if (base.empty() || base.back() != '/') base += '/';
    const std::string pending = base + kPendingLockName;
    const int fd =
        open(pending.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kDocumentMode);
    if (fd < 0) return nullptr;
    // link, unlike rename, never replaces a lock file that is already there.
    const bool placed =
        flock(fd, LOCK_EX | LOCK_NB) == 0 && link(pending.c_str(), (base + kLockName).c_str()) == 0;
    unlink(pending.c_str());
    if (!placed) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<PosixFolderLock>(fd, base + kLockName);
}

void PosixFileSystem::RemoveOrphanedFolders(const std::string& parent, const std::string& prefix) {
    if (prefix.empty()) return;
    const int parentFd = open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0) return;
    for (const std::string& name : NamesIn(parentFd)) {
        if (name.starts_with(prefix)) RemoveIfOrphaned(parentFd, name);
    }
    close(parentFd);
}

}  // namespace quillmere
