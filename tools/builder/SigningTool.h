#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillmere::builder {

// Whether this builder signs books itself with osslsigncode. The Windows builder does not: there
// the signing tool is Microsoft's signtool, which the author runs on the finished book.
extern const bool kSignsBooks;

struct ToolRun {
    int exitCode = -1;
    // Standard output and standard error, interleaved as written.
    std::string output;
};

// Runs osslsigncode with `arguments` (not counting argument 0) and waits for it; nullopt with
// `error` set when it cannot be started.
std::optional<ToolRun> RunSigningTool(const std::vector<std::string>& arguments,
                                      std::string& error);

}  // namespace quillmere::builder
