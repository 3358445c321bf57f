#include "platform/win32/Win32System.h"

#include <windows.h>

#include <vector>

#include "platform/win32/AnsiPaths.h"

namespace quillmere {

namespace {

// Long paths ("\\?\" form) reach 32767 characters; a little more holds their terminator.
constexpr DWORD kLongestModulePath = 32768 + 1;
// FILETIME counts 100 ns steps from 1601-01-01; these are the steps up to 1970-01-01.
constexpr std::int64_t kFileTimeAtUnixEpoch = 116444736000000000;
constexpr std::int64_t kFileTimeStepsPerSecond = 10000000;

}  // namespace

std::optional<std::string> Win32System::ModuleFilePath() {
    for (DWORD capacity = MAX_PATH; capacity <= 2 * kLongestModulePath; capacity *= 2) {
        std::vector<wchar_t> buffer(capacity);
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), capacity);
        if (length == 0) return std::nullopt;
        // A path that filled the whole buffer was cut short.
        if (length < capacity) return SystemAnsiPath(std::wstring(buffer.data(), length));
    }
    return std::nullopt;
}

unsigned Win32System::AnsiCodePage() { return GetACP(); }

std::int64_t Win32System::CurrentTime() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::int64_t steps = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) |
                               static_cast<std::int64_t>(now.dwLowDateTime);
    return (steps - kFileTimeAtUnixEpoch) / kFileTimeStepsPerSecond;
}

}  // namespace quillmere
