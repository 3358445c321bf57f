#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/SessionEndWatch.h"
#include "platform/win32/Win32Processes.h"
#include "support/TempDir.h"
#include "support/Win32TestSupport.h"

namespace quillmere {
namespace {

using testing::ReadProbeRecord;
using testing::ScopedVariable;
using testing::TempDir;

std::string CurrentFolder() {
    char folder[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

TEST(Win32Processes, CommandLineIsTheArgumentsJoinedAsTheyAre) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        std::string commandLine;
    };
    const std::string probe = QUILLMERE_PROBE_PATH;
    const std::vector<Case> cases = {
        {"argument 0 alone", {"probe"}, "probe"},
        {"blanks and quotes kept as given",
         {"Setup.exe", "two words", "\"quoted\"", "a\\b"},
         "Setup.exe two words \"quoted\" a\\b"},
        {"no arguments: the path", {}, probe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string out = dir.File("record.txt");
        ScopedVariable record("QUILLMERE_PROBE_OUT", out);
        ScopedVariable exitCode("QUILLMERE_PROBE_EXIT", "7");

        Win32Processes processes;
        const ProcessHandle process = processes.Start(probe, c.arguments);
        ASSERT_NE(process, kFailedProcess);
        EXPECT_EQ(processes.Wait(process), 7);
        processes.Close(process);

        // The environment came along (the probe found where to write) and so did the folder.
        const auto recorded = ReadProbeRecord(out);
        EXPECT_EQ(recorded.at("command"), c.commandLine);
        EXPECT_EQ(recorded.at("folder"), CurrentFolder());
    }
}

TEST(Win32Processes, AProgramThatCannotStartGivesMinusOne) {
    TempDir dir;
    Win32Processes processes;
    const std::string missing = dir.File("missing.exe");
    const std::string notAProgram = dir.Write("page.exe", "<html></html>");
    for (const std::string& path : {missing, notAProgram, std::string()}) {
        SCOPED_TRACE(path);
        const ProcessHandle process = processes.Start(path, {path});
        EXPECT_EQ(process, kFailedProcess);
        // -1 is also this process's own pseudo-handle: waiting on it must not hang.
        EXPECT_EQ(processes.Wait(process), -1);
        processes.Close(process);
    }
}

// The main window is gone while the exit sequence waits for started programs; the wait itself
// must still hear the session's end, or the clean-up never runs.
TEST(Win32Processes, TheSessionsEndIsHeardWhileWaitingForAProgram) {
    if (SessionEndWatch([] {}).Window() == nullptr) GTEST_SKIP() << "Wine has no display here";
    TempDir dir;
    ScopedVariable record("QUILLMERE_PROBE_OUT", dir.File("record.txt"));
    ScopedVariable sleep("QUILLMERE_PROBE_SLEEP_MS", "3000");
    Win32Processes processes;
    std::atomic<bool> ended{false};
    processes.OnSessionEnd([&] { ended = true; });
    const ProcessHandle process = processes.Start(QUILLMERE_PROBE_PATH, {"probe"});
    ASSERT_NE(process, kFailedProcess);

    std::atomic<long long> query{-1};
    std::thread session([&] {
        HWND watch = nullptr;
        for (int i = 0; i < 100 && watch == nullptr; ++i) {
            watch = FindWindowA(SessionEndWatch::kClassName, nullptr);
            if (watch == nullptr) Sleep(20);
        }
        if (watch == nullptr) {
            query = -2;
            return;
        }
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(watch, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 2000,
                                &answer)) {
            query = static_cast<long long>(answer);
        }
        SendMessageTimeoutA(watch, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 2000,
                            &answer);
    });
    EXPECT_EQ(processes.Wait(process), 0);
    session.join();
    processes.Close(process);

    EXPECT_EQ(query, 1);
    EXPECT_TRUE(ended);
    EXPECT_EQ(FindWindowA(SessionEndWatch::kClassName, nullptr), nullptr);
}

}  // namespace
}  // namespace quillmere
