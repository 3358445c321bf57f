#include "support/RunProgram.h"

#include <windows.h>

#include "support/TempDir.h"

namespace quillmere::testing {

namespace {

// Quotes an argument so that the C runtime's command-line parser gives it back unchanged:
// backslashes double only where a quote follows them.
std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') backslashes = backslashes * 2 + 1;
        quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

HANDLE Inheritable(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Console programs write text with CRLF line ends; the tests read it with plain LF.
std::string WithPlainLineEnds(std::string text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        plain += text[i];
    }
    return plain;
}

}  // namespace

ProgramResult RunProgram(const std::string& path, const std::vector<std::string>& arguments) {
    TempDir captured;
    const std::string outPath = captured.File("out");
    const std::string errPath = captured.File("err");
    std::string commandLine = QuoteArgument(path);
    for (const auto& argument : arguments) commandLine += " " + QuoteArgument(argument);

    HANDLE in = Inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    HANDLE out = Inheritable(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    HANDLE err = Inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION started{};
    ProgramResult result;
    if (CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &started)) {
        WaitForSingleObject(started.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(started.hProcess, &code)) result.exitCode = static_cast<int>(code);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    for (HANDLE handle : {in, out, err}) CloseHandle(handle);
    result.out = WithPlainLineEnds(ReadFileBytes(outPath));
    result.err = WithPlainLineEnds(ReadFileBytes(errPath));
    return result;
}

}  // namespace quillmere::testing
