#include "BookFiles.h"

#include <cerrno>
#include <fstream>
#include <random>
#include <system_error>

namespace quillmere::builder {

namespace fs = std::filesystem;

namespace {

// What the C library said about the last failed call, as strerror words it.
std::string Reason(int error) {
    if (error == 0) return "unknown error";
    return std::generic_category().message(error);
}

}  // namespace

std::optional<Bytes> ReadBytes(const fs::path& path, std::string& error) {
    std::error_code code;
    if (fs::is_directory(path, code)) {
        error = path.string() + ": is a folder";
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path.string() + ": cannot open for reading: " + Reason(errno);
        return std::nullopt;
    }
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = path.string() + ": read error: " + Reason(errno);
        return std::nullopt;
    }
    return bytes;
}

namespace {

fs::path TemporarySibling(const fs::path& target) {
    std::random_device random;
    fs::path sibling = target;
    sibling += ".partial-" + std::to_string(random());
    return sibling;
}

// Empty on success, otherwise why the file could not be written.
std::string WriteParts(const fs::path& path, const std::vector<const Bytes*>& parts) {
    // Exclusive creation would need the platform; a random sibling name that does not exist yet
    // is the portable stand-in.
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return Reason(errno);
    for (const Bytes* part : parts) {
        out.write(reinterpret_cast<const char*>(part->data()),
                  static_cast<std::streamsize>(part->size()));
    }
    out.close();
    return out ? std::string() : Reason(errno);
}

}  // namespace

bool WriteFileWhole(const fs::path& target, const std::vector<const Bytes*>& parts,
                    fs::perms permissions, std::string& error) {
    fs::path temporary = TemporarySibling(target);
    std::error_code code;
    for (int attempt = 0; attempt < 10 && fs::exists(fs::symlink_status(temporary, code));
         ++attempt) {
        temporary = TemporarySibling(target);
    }
    if (std::string why = WriteParts(temporary, parts); !why.empty()) {
        fs::remove(temporary, code);
        error = target.string() + ": cannot write: " + why;
        return false;
    }
    fs::permissions(temporary, permissions, code);
    if (!code) fs::rename(temporary, target, code);
    if (code) {
        error = target.string() + ": " + code.message();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace quillmere::builder
