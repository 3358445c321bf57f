#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/LeadBytes.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32System.h"
#include "support/TempDir.h"
#include "support/Win32TestSupport.h"

namespace quillmere {
namespace {

using testing::ReadProbeRecord;
using testing::ScopedVariable;
using testing::TempDir;

TEST(Win32System, ModulePathIsTheRunningProgramOnDriveZ) {
    Win32System system;
    const auto path = system.ModuleFilePath();
    ASSERT_TRUE(path.has_value());
    // Wine shows the Linux root as Z:.
    EXPECT_EQ(path->substr(0, 3), "Z:\\");
    EXPECT_NE(path->find("test-win32.exe"), std::string::npos) << *path;
    EXPECT_EQ(GetFileAttributesA(path->c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(Win32System, ModuleFolderIsLowerCasedAndTheSelfImageRenamedToExe) {
    TempDir dir;
    ASSERT_TRUE(CreateDirectoryA(dir.File("My Books").c_str(), nullptr));
    const std::string copy = dir.File("My Books\\Reader.EXE");
    ASSERT_TRUE(CopyFileA(QUILLMERE_PROBE_PATH, copy.c_str(), TRUE));
    const std::string out = dir.File("record.txt");
    ScopedVariable record("QUILLMERE_PROBE_OUT", out);

    Win32Processes processes;
    const ProcessHandle process = processes.Start(copy, {"Reader.EXE"});
    ASSERT_NE(process, kFailedProcess);
    EXPECT_EQ(processes.Wait(process), 0);
    processes.Close(process);

    const auto recorded = ReadProbeRecord(out);
    std::string folder = dir.File("My Books\\");
    CharLowerA(folder.data());
    EXPECT_EQ(recorded.at("module"), folder);
    EXPECT_EQ(recorded.at("self"), folder + "Reader.exe");
}

// Windows' own lead-byte ranges agree with the tables the portable code uses.
TEST(Win32System, LeadBytesOfTheDoubleByteCodePagesMatchTheTables) {
    for (unsigned codePage : {932u, 936u, 949u, 950u, 1252u, 65001u}) {
        SCOPED_TRACE(codePage);
        CPINFO info{};
        ASSERT_TRUE(GetCPInfo(codePage, &info));
        bool fromWindows[256] = {};
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
            for (unsigned b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b)
                fromWindows[b] = true;
        }
        const LeadBytes table(codePage);
        for (unsigned b = 0; b < 256; ++b) {
            EXPECT_EQ(table.IsLead(static_cast<std::uint8_t>(b)), fromWindows[b]) << "byte " << b;
        }
    }
}

// The run under a given locale sets QUILLMERE_EXPECT_ACP (see tests/CMakeLists.txt).
TEST(Win32System, CodePageFollowsTheLocale) {
    const char* expected = std::getenv("QUILLMERE_EXPECT_ACP");
    if (expected == nullptr) GTEST_SKIP() << "run without an expected code page";
    Win32System system;
    EXPECT_EQ(system.AnsiCodePage(), static_cast<unsigned>(std::atoi(expected)));
}

TEST(Win32System, CurrentTimeIsSecondsSince1970) {
    Win32System system;
    const std::int64_t before = static_cast<std::int64_t>(std::time(nullptr));
    const std::int64_t now = system.CurrentTime();
    EXPECT_GE(now, before);
    EXPECT_LE(now, before + 5);
}

}  // namespace
}  // namespace quillmere
