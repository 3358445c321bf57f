#include "OutputPath.h"

#include <filesystem>
#include <system_error>

namespace quillmere::builder {

namespace fs = std::filesystem;

namespace {

// Device and inode on POSIX, volume and file index on Windows; false when either is missing.
bool IsSameFile(const fs::path& a, const fs::path& b) {
    std::error_code code;
    return fs::equivalent(a, b, code) && !code;
}

bool LiesInside(const fs::path& out, const fs::path& folder) {
    std::error_code code;
    const fs::path full = fs::absolute(out, code);
    if (code) return false;
    // Where the links cannot be resolved (Wine, for one), the path's own text is still walked up.
    const fs::path resolved = fs::weakly_canonical(full, code);
    fs::path parent = (code ? full : resolved).lexically_normal().parent_path();
    fs::path inputFolder = fs::absolute(folder, code).lexically_normal();
    if (code) return false;
    if (!inputFolder.has_filename()) inputFolder = inputFolder.parent_path();
    for (;;) {
        if (IsSameFile(parent, inputFolder)) return true;
        if (parent == parent.parent_path()) return false;
        parent = parent.parent_path();
    }
}

}  // namespace

std::string CheckOutputPath(const std::string& out, const std::string& stub,
                            const std::vector<std::string>& inputs, const std::string& source) {
    std::error_code code;
    if (fs::is_directory(out, code)) return "the output " + out + " is a folder";
    if (IsSameFile(out, stub)) return "the output " + out + " is " + source;
    for (const std::string& input : inputs) {
        if (fs::is_directory(input, code)) {
            if (LiesInside(out, input)) {
                std::string why = "the output ";
                why.append(out).append(" lies inside the input folder ").append(input);
                return why.append(", where the next build would package it");
            }
        } else if (IsSameFile(out, input)) {
            std::string why = "the output ";
            why.append(out).append(" is the input ").append(input);
            return why.append(", which the book would overwrite");
        }
    }
    return {};
}

}  // namespace quillmere::builder
