#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillmere {

enum class RegFileReadStatus { Read, Unchanged, Missing, Failed };

// Tells one version of a file from another without reading it: a replaced file has another
// inode, a file written in place another size or modification time.
struct RegFileVersion {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    bool operator==(const RegFileVersion&) const = default;
};

struct RegFileContents {
    RegFileReadStatus status = RegFileReadStatus::Missing;
    std::string bytes;
    RegFileVersion version;  // of the file read, or found unchanged
};

// Files larger than this are refused rather than read into memory.
inline constexpr std::size_t kRegFileMaxBytes = 64u << 20;

// Only a regular file is read. When the file is still `known`, nothing is read and the status is
// Unchanged.
RegFileContents ReadRegFileBytes(const std::string& path,
                                 const std::optional<RegFileVersion>& known = std::nullopt);

// Holds an exclusive advisory lock (flock) on a lock file for as long as it lives. flock, unlike
// fcntl locks, also keeps two threads of one process apart.
class RegFileLock {
  public:
    explicit RegFileLock(const std::string& lockPath);
    ~RegFileLock();
    RegFileLock(const RegFileLock&) = delete;
    RegFileLock& operator=(const RegFileLock&) = delete;

    bool Held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// Creates the folder and any missing parents, mode 0700.
bool EnsureRegFolder(const std::string& folder);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and renames it over
// `path`: a reader sees the old file or the new one, never a part. The new file keeps the old
// one's permissions (0600 for a new file). No temporary file is left behind.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace quillmere
