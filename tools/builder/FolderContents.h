#pragma once

#include <string>
#include <vector>

namespace quillmere::builder {

struct InputFile {
    std::string path;
    // The folder given on the command line that this file was found in; empty for a file given
    // by itself.
    std::string folder;
};

// The files to package: each path as given, except that a folder stands for the regular files
// directly inside it, in name order (bytewise). Empty on success; otherwise what cannot be
// packaged, by its path: anything else inside a given folder (a subfolder, a symbolic link, a
// device), or a folder that cannot be listed.
std::string ExpandFolders(const std::vector<std::string>& given, std::vector<InputFile>& files);

}  // namespace quillmere::builder
