#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "navigation/LaunchFixture.h"
#include "navigation/ProgramLaunch.h"
#include "records/PackageDirectory.h"
#include "support/ProbeRecord.h"
#include "support/ScopedVariable.h"

namespace quillmere {
namespace {

using testing::kNativeSeparator;
using testing::LaunchPlatform;
using testing::ProbeRecord;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::TestPackage;
namespace fs = std::filesystem;

// A packaged program that appends how it was started to the log: the probe, built for the
// platform under test, with `marker` after it to tell copies apart.
std::string Recorder(const std::string& marker = "") {
    return ReadFileBytes(QUILLMERE_TEST_PROBE_PATH) + marker;
}

std::vector<std::string> FileNamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) {
        names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ProgramLaunchTest : public ::testing::Test {
  protected:
    ProgramLaunchTest() { fs::create_directory(workspace); }

    void Launch(const std::string& name, const std::string& argument = "") {
        PackageDirectory directory(package.record());
        LaunchContext launch{host.ctx,      directory, package.image(), package.imageSize(),
                             workspaceText, started};
        LaunchPackagedProgram(launch, name, argument);
    }
    void StartLinked(const std::string& url) {
        PackageDirectory directory(package.record());
        LaunchContext launch{host.ctx,      directory, package.image(), package.imageSize(),
                             workspaceText, started};
        StartLinkedProgram(launch, url);
    }
    void WaitForAll() { WaitForStartedPrograms(started, host.processes); }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : host.dialogs.shown) texts.push_back(box.text);
        return texts;
    }
    std::string Log() const { return fs::exists(log) ? ReadFileBytes(log) : ""; }

    TempDir dir;
    fs::path workspace = dir.path() / "ws";
    std::string workspaceText = workspace.string() + kNativeSeparator;
    std::string log = dir.File("runs.log");
    testing::ScopedVariable logged{"QUILLMERE_PROBE_OUT", log};
    TestPackage package;
    LaunchPlatform host;
    StartedProgramList started;
};

TEST_F(ProgramLaunchTest, WritesTheEntryUnderItsOwnNameAndStartsIt) {
    const std::string program = Recorder();
    package.Add("readme.txt", "not a program");
    package.Add("TOOL.EXE", program);

    Launch("Tool.exe");
    WaitForAll();

    EXPECT_TRUE(host.dialogs.shown.empty());
    const fs::path written = workspace / "TOOL.EXE";
    EXPECT_EQ(FileNamesIn(workspace), std::vector<std::string>{"TOOL.EXE"});
    EXPECT_EQ(ReadFileBytes(written), program);

    ASSERT_EQ(host.processes.starts.size(), 1u);
    EXPECT_EQ(host.processes.starts[0].path, written.string());
    EXPECT_EQ(host.processes.starts[0].arguments, std::vector<std::string>{"tool.exe"});
    ASSERT_EQ(started.count, 1);
    EXPECT_NE(started.slots[0], kFailedProcess);
    // Started in the viewer's own folder, not the Workspace, and with no further argument.
    EXPECT_EQ(Log(), ProbeRecord({"tool.exe"}));
}

TEST_F(ProgramLaunchTest, OnlyItsUserMayRunTheWrittenProgram) {
    if (*testing::kNoPermissionBits != '\0') GTEST_SKIP() << testing::kNoPermissionBits;
    package.Add("Tool.exe", Recorder());
    Launch("Tool.exe");
    WaitForAll();
    EXPECT_EQ(testing::PermissionBits((workspace / "Tool.exe").string()), 0700u);
}

TEST_F(ProgramLaunchTest, SecondLaunchStartsTheFileAlreadyThereWithoutRewritingIt) {
    package.Add("Tool.exe", Recorder());
    Launch("Tool.exe");
    WaitForAll();

    const std::string changed = Recorder("changed");
    const std::string path = (workspace / "Tool.exe").string();
    dir.Write("ws/Tool.exe", changed);
    fs::permissions(path, fs::perms::owner_all);

    Launch("tool.EXE");
    WaitForAll();

    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_EQ(ReadFileBytes(path), changed);
    EXPECT_EQ(Log(), ProbeRecord({"tool.exe"}) + ProbeRecord({"tool.exe"}));
    // Two starts recorded (the log shows two runs; a closed handle's value may come again).
    ASSERT_EQ(started.count, 2);
    EXPECT_NE(started.slots[0], kFailedProcess);
    EXPECT_NE(started.slots[1], kFailedProcess);
}

TEST_F(ProgramLaunchTest, FolderArgumentArrivesWholeAsOneArgument) {
    package.Add("Hollowquay.exe", Recorder());
    const std::string argument = "QZXPATH=/home/reader/My  Books/=QZXPATH";

    Launch("Hollowquay.exe", argument);
    WaitForAll();

    ASSERT_EQ(host.processes.starts.size(), 1u);
    EXPECT_EQ(host.processes.starts[0].arguments,
              (std::vector<std::string>{"hollowquay.exe", argument}));
    EXPECT_EQ(Log(), ProbeRecord(testing::ArgumentsAsReceived({"hollowquay.exe", argument})));
}

TEST_F(ProgramLaunchTest, EmptyProgramIsWrittenButItsFailedStartIsRecordedSilently) {
    package.Add("Empty.exe", "");

    Launch("Empty.exe");
    WaitForAll();

    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_EQ(ReadFileBytes(workspace / "Empty.exe"), "");
    ASSERT_EQ(started.count, 1);
    EXPECT_EQ(started.slots[0], kFailedProcess);
}

TEST_F(ProgramLaunchTest, FailedWriteIsShownAndTheStartStillAttempted) {
    package.Add("Tool.exe", Recorder());
    workspaceText = dir.File("missing") + kNativeSeparator;

    Launch("Tool.exe");

    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>{"Failed to write file " + workspaceText + "Tool.exe"});
    ASSERT_EQ(host.processes.starts.size(), 1u);
    ASSERT_EQ(started.count, 1);
    EXPECT_EQ(started.slots[0], kFailedProcess);
}

TEST_F(ProgramLaunchTest, LinkedProgramIsStartedFromTheLinkTextAlone) {
    package.Add("setup.exe", Recorder());
    const std::string local = dir.Write("Local.EXE", Recorder());
    fs::permissions(local, fs::perms::owner_all);
    const std::string web = "http://example.com/files/setup.exe";

    StartLinked(web);
    StartLinked(local);
    WaitForAll();

    EXPECT_TRUE(host.dialogs.shown.empty());
    ASSERT_EQ(host.processes.starts.size(), 2u);
    EXPECT_EQ(host.processes.starts[0].path, web);
    EXPECT_EQ(host.processes.starts[0].arguments, std::vector<std::string>{web});
    EXPECT_EQ(host.processes.starts[1].arguments, std::vector<std::string>{local});
    ASSERT_EQ(started.count, 2);
    EXPECT_EQ(started.slots[0], kFailedProcess);
    EXPECT_NE(started.slots[1], kFailedProcess);
    EXPECT_EQ(Log(), ProbeRecord({local}));
    EXPECT_EQ(FileNamesIn(workspace), std::vector<std::string>{});
}

// Entries that must never be written or started: the name from the link is only ever compared
// with entries that name a file directly inside the Workspace and whose bytes lie in the image.
struct UnusableCase {
    const char* what;
    std::string link;
    void (*arrange)(TestPackage&);
};

void PrintTo(const UnusableCase& c, std::ostream* out) { *out << c.what; }

class UnusableEntry : public ProgramLaunchTest,
                      public ::testing::WithParamInterface<UnusableCase> {};

TEST_P(UnusableEntry, IsReportedAsNotFoundAndNothingHappens) {
    GetParam().arrange(package);
    const auto outsideBefore = FileNamesIn(dir.path());

    Launch(GetParam().link);

    ASSERT_EQ(BoxTexts(), std::vector<std::string>{"Required exe file not found"});
    EXPECT_EQ(host.dialogs.shown[0].caption, "Test Book");
    EXPECT_TRUE(host.processes.starts.empty());
    EXPECT_EQ(started.count, 0);
    EXPECT_EQ(FileNamesIn(workspace), std::vector<std::string>{});
    EXPECT_EQ(FileNamesIn(dir.path()), outsideBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, UnusableEntry,
    ::testing::Values(UnusableCase{"NoSuchName", "Other.exe",
                                   [](TestPackage& p) { p.Add("Tool.exe", "x"); }},
                      UnusableCase{"EmptyPackage", "Tool.exe", [](TestPackage&) {}},
                      UnusableCase{"BeyondTheCount", "Tool.exe",
                                   [](TestPackage& p) {
                                       p.Add("Tool.exe", "x");
                                       p.SetFileCount(0);
                                   }},
                      UnusableCase{"ParentFolderName", "../Tool.exe",
                                   [](TestPackage& p) { p.Add("../Tool.exe", "x"); }},
                      UnusableCase{"WindowsDeviceName", "Com1.exe",
                                   [](TestPackage& p) { p.Add("Com1.exe", "x"); }},
                      UnusableCase{"BackslashByteWithoutLeadBytes", "\x95\x5C.exe",
                                   [](TestPackage& p) { p.Add("\x95\x5C.exe", "x"); }},
                      UnusableCase{"FolderInName", "sub/Tool.exe",
                                   [](TestPackage& p) { p.Add("sub/Tool.exe", "x"); }},
                      UnusableCase{"RangePastTheImage", "Tool.exe",
                                   [](TestPackage& p) { p.AddRaw("Tool.exe", 60, 100); }},
                      UnusableCase{"RangeWrappingAround", "Tool.exe",
                                   [](TestPackage& p) { p.AddRaw("Tool.exe", 0xFFFFFFF0u, 0x20); }},
                      UnusableCase{"CountFarBeyondTheRecord", "Tool.exe",
                                   [](TestPackage& p) {
                                       p.Add("Other.exe", "x");
                                       p.SetFileCount(0xFFFFFFFFu);
                                   }}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ProgramLaunchTest, LetterCaseIsIgnoredOnlyInSingleByteCharacters) {
    if (*testing::kNamesAreNotBytes != '\0') GTEST_SKIP() << testing::kNamesAreNotBytes;
    // In code page 932 these are two different characters whose second bytes are 'A' and 'a'.
    host.ctx.rules = TextRules{LeadBytes(932), kNativeSeparator};
    package.Add("\x83\x41.exe", Recorder());

    Launch("\x83\x61.exe");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Required exe file not found"});

    Launch("\x83\x41.EXE");
    WaitForAll();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Required exe file not found"});
    EXPECT_EQ(FileNamesIn(workspace), std::vector<std::string>{"\x83\x41.exe"});
    ASSERT_EQ(host.processes.starts.size(), 1u);
    EXPECT_EQ(host.processes.starts[0].arguments, std::vector<std::string>{"\x83\x41.exe"});
    EXPECT_EQ(Log(), ProbeRecord({"\x83\x41.exe"}));
}

TEST_F(ProgramLaunchTest, BackslashTrailByteIsPartOfTheProgramsName) {
    if (*testing::kNamesAreNotBytes != '\0') GTEST_SKIP() << testing::kNamesAreNotBytes;
    host.ctx.rules = TextRules{LeadBytes(932), kNativeSeparator};
    package.Add("\x95\x5C.exe", Recorder());

    Launch("\x95\x5C.exe");
    WaitForAll();

    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_EQ(FileNamesIn(workspace), std::vector<std::string>{"\x95\x5C.exe"});
    EXPECT_EQ(Log(), ProbeRecord({"\x95\x5C.exe"}));
}

TEST_F(ProgramLaunchTest, UsableEntryAfterABrokenOneOfTheSameNameIsStarted) {
    package.AddRaw("Tool.exe", 0xFFFFFF00u, 0x1000);
    package.Add("TOOL.exe", Recorder());

    Launch("Tool.exe");
    WaitForAll();

    EXPECT_TRUE(host.dialogs.shown.empty());
    EXPECT_EQ(FileNamesIn(workspace), std::vector<std::string>{"TOOL.exe"});
    EXPECT_EQ(Log(), ProbeRecord({"tool.exe"}));
}

}  // namespace
}  // namespace quillmere
