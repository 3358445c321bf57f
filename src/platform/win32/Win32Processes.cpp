#include "platform/win32/Win32Processes.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <memory>

#include "platform/win32/ElevatedStart.h"
#include "platform/win32/SessionEndWatch.h"

namespace quillmere {

namespace {

// -1 is also the pseudo-handle of the current process, which no call here may wait on or close.
bool IsProcess(ProcessHandle process) { return process != kFailedProcess && process != 0; }

HANDLE AsHandle(ProcessHandle process) { return reinterpret_cast<HANDLE>(process); }

// Through the shell, which shows the consent prompt; a declined prompt is a failed start.
ProcessHandle StartElevated(const std::string& path, const std::string& parameters) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = path.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || info.hProcess == nullptr) return kFailedProcess;
    return reinterpret_cast<ProcessHandle>(info.hProcess);
}

}  // namespace

ProcessHandle Win32Processes::Start(const std::string& path,
                                    const std::vector<std::string>& arguments) {
    std::string commandLine;
    for (const std::string& argument : arguments) {
        if (!commandLine.empty()) commandLine += ' ';
        commandLine += argument;
    }
    // A program always gets an argument 0; without one it is the path.
    if (arguments.empty()) commandLine = path;

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        const auto parameters = ElevatedStartParameters(GetLastError(), arguments);
        return parameters ? StartElevated(path, *parameters) : kFailedProcess;
    }
    CloseHandle(started.hThread);
    return reinterpret_cast<ProcessHandle>(started.hProcess);
}

int Win32Processes::Wait(ProcessHandle process) {
    if (!IsProcess(process)) return -1;
    std::unique_ptr<SessionEndWatch> watch;
    if (sessionEnd_) watch = std::make_unique<SessionEndWatch>(sessionEnd_);
    const HANDLE handle = AsHandle(process);
    while (true) {
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) break;
        if (woken != WAIT_OBJECT_0 + 1) return -1;
        // Sent messages are delivered by PeekMessage itself; posted ones are dispatched here.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            // The message loop is over: a quit posted now has no one else to end.
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(AsHandle(process), &exitCode)) return -1;
    return static_cast<int>(exitCode);
}

void Win32Processes::Close(ProcessHandle process) {
    if (IsProcess(process)) CloseHandle(AsHandle(process));
}

}  // namespace quillmere
