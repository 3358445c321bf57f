#pragma once

#include <string>
#include <vector>

namespace quillmere::testing {

struct ProgramResult {
    // The program's exit code; -1 when it did not end normally (killed by a signal).
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `path` with `arguments` (not counting argument 0), waits for it and collects what it wrote
// (text with plain LF line ends, also where the console writes CRLF).
ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace quillmere::testing
