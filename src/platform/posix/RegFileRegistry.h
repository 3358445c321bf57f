#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace quillmere {

// The current user's registry kept in one text file in the format Windows' registry editor
// exports and imports. Other programs and people fill it by writing that file, so reading accepts
// what they write; writing changes one value and keeps every other line as it was.
class RegFileRegistry : public Registry {
  public:
    // The file at $XDG_CONFIG_HOME/tallowbrook/registry.reg (default ~/.config).
    RegFileRegistry();
    explicit RegFileRegistry(std::string path);
    ~RegFileRegistry() override;
    RegFileRegistry(RegFileRegistry&&) noexcept;
    RegFileRegistry& operator=(RegFileRegistry&&) noexcept;

    static std::string DefaultPath();
    const std::string& Path() const { return path_; }

    // The key's values as the file holds them when the key is opened. The parsed file is kept
    // while the file is unchanged (device, inode, size, modification time to the nanosecond) and
    // the locale's character set is the same, so a book's pages do not parse it again each.
    std::unique_ptr<RegistryKey> OpenKeyForQuery(std::string_view subkey) override;
    // Read-modify-write under an advisory lock on "<path>.lock", replacing the file atomically.
    bool WriteDword(std::string_view subkey, std::string_view name, std::uint32_t value) override;

  private:
    struct ParsedFile;
    // nullptr when the file cannot be read.
    const ParsedFile* CurrentFile();

    std::string path_;
    std::unique_ptr<ParsedFile> parsed_;
};

}  // namespace quillmere
