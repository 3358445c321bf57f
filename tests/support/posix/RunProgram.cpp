#include "support/RunProgram.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/TempDir.h"

namespace quillmere::testing {

namespace {

// Single quotes keep every character literal for the shell; a quote itself is closed, escaped
// and reopened.
std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace

ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& arguments) {
    TempDir captured;
    const std::string outPath = captured.File("out");
    const std::string errPath = captured.File("err");
    std::string command = ShellQuote(path);
    for (const auto& argument : arguments) command += " " + ShellQuote(argument);
    command += " </dev/null >" + ShellQuote(outPath) + " 2>" + ShellQuote(errPath);

    ProgramResult result;
    const int status = std::system(command.c_str());
    if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = ReadFileBytes(outPath);
    result.err = ReadFileBytes(errPath);
    return result;
}

}  // namespace quillmere::testing
