#include "platform/posix/RegFileIo.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace quillmere {

namespace {

std::string FolderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

RegFileContents ReadRegFileBytes(const std::string& path,
                                 const std::optional<RegFileVersion>& known) {
    RegFileContents contents;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer. It makes no
    // difference to reading a regular file, the only kind read.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        contents.status = errno == ENOENT ? RegFileReadStatus::Missing : RegFileReadStatus::Failed;
        return contents;
    }
    contents.status = RegFileReadStatus::Failed;
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular) {
        contents.version = {static_cast<std::uint64_t>(info.st_dev),
                            static_cast<std::uint64_t>(info.st_ino),
                            static_cast<std::int64_t>(info.st_size),
                            static_cast<std::int64_t>(info.st_mtim.tv_sec), info.st_mtim.tv_nsec};
    }
    if (regular && known && *known == contents.version) {
        contents.status = RegFileReadStatus::Unchanged;
    } else if (regular && static_cast<std::size_t>(info.st_size) <= kRegFileMaxBytes) {
        // One spare byte lets a single read see the end of the file.
        contents.bytes.reserve(static_cast<std::size_t>(info.st_size) + 1);
        std::vector<char> buffer(std::size_t{64} * 1024);
        bool ok = true;
        while (true) {
            ssize_t n = ::read(fd, buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0) break;
            contents.bytes.append(buffer.data(), static_cast<std::size_t>(n));
            if (contents.bytes.size() > kRegFileMaxBytes) {
                ok = false;
                break;
            }
        }
        if (ok) contents.status = RegFileReadStatus::Read;
    }
    ::close(fd);
    if (contents.status != RegFileReadStatus::Read) contents.bytes.clear();
    if (contents.status == RegFileReadStatus::Failed) contents.version = {};
    return contents;
}

RegFileLock::RegFileLock(const std::string& lockPath) {
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) return;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
}

RegFileLock::~RegFileLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool EnsureRegFolder(const std::string& folder) {
    return g_mkdir_with_parents(folder.c_str(), 0700) == 0;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
    std::string folder = FolderOf(path);
    std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    std::string temp = folder + "/." + name + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;

    mode_t mode = 0600;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) mode = old.st_mode & 07777;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(folder);
    return true;
}

}  // namespace quillmere
