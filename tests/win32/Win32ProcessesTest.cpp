#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace quillmere
