#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillmere::testing {

// A fresh folder under the system's temporary directory, removed with everything in it when the
// object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Full path of `name` inside the folder (the file need not exist).
    std::string File(std::string_view name) const;
    // Writes `content` to `name` inside the folder and gives its full path.
    std::string Write(std::string_view name, std::string_view content) const;

  private:
    std::filesystem::path path_;
};

// The whole file as bytes; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace quillmere::testing
