#pragma once

#include <string>
#include <vector>

namespace quillmere::builder {

// Why the book may not be written to `out`, or empty when it may: `out` is a folder, or the same
// file as the stub or as one of the `inputs` (decided by the file system's identity of the file,
// so another path, a hard link or a symbolic link to it counts too), or lies inside a folder given
// as input, where the next build would package it.
// `source` names what `stub` is in the message.
std::string CheckOutputPath(const std::string& out, const std::string& stub,
                            const std::vector<std::string>& inputs,
                            const std::string& source = "the stub itself");

}  // namespace quillmere::builder
