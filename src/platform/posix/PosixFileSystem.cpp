#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace quillmere {

namespace {

constexpr mode_t kDocumentMode = 0600;
constexpr mode_t kProgramMode = 0700;
constexpr mode_t kFolderMode = 0700;

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

}  // namespace quillmere
