#include "FolderContents.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quillmere::builder {

namespace fs = std::filesystem;

namespace {

std::string WhatItIs(const fs::file_status& status) {
    if (fs::is_symlink(status)) return "a symbolic link";
    if (fs::is_directory(status)) return "a folder";
    return "not a regular file";
}

// Sorted by name first, so that the one refused is the same whatever order the system lists in.
std::string AddFolder(const std::string& folder, std::vector<InputFile>& files) {
    std::vector<fs::directory_entry> entries;
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        entries.push_back(*it);
    }
    if (code) return folder + ": cannot list the folder: " + code.message();
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename().string() < b.path().filename().string();
    });
    for (const fs::directory_entry& entry : entries) {
        const fs::file_status status = entry.symlink_status(code);
        if (code) return entry.path().string() + ": " + code.message();
        if (!fs::is_regular_file(status)) {
            return entry.path().string() + ": " + WhatItIs(status) +
                   " in a given folder; only the regular files directly inside are packaged";
        }
        files.push_back({entry.path().string(), folder});
    }
    return {};
}

}  // namespace

std::string ExpandFolders(const std::vector<std::string>& given, std::vector<InputFile>& files) {
    for (const std::string& path : given) {
        std::error_code code;
        if (!fs::is_directory(path, code)) {
            files.push_back({path, {}});  // reading it tells what is wrong with it, if anything
            continue;
        }
        if (std::string problem = AddFolder(path, files); !problem.empty()) return problem;
    }
    return {};
}

}  // namespace quillmere::builder
