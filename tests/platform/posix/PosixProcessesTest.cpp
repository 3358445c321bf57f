#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ScopedEnvironment.h"
#include "platform/posix/PosixProcesses.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::ReadFileBytes;
using testing::ScopedEnvironment;
using testing::TempDir;

std::vector<std::string> SplitOnNul(const std::string& bytes) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : bytes) {
        if (c == '\0') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

TEST(PosixProcessesTest, ArgumentsArriveExactlyWithCurrentFolderAndEnvironment) {
    TempDir dir;
    PosixProcesses processes;
    ScopedEnvironment probe("QUILLMERE_PROBE", "inherited");
    const std::string folderArgument = "QZXPATH=/tmp/my books/vellumkit__1=QZXPATH";
    // The probe writes into the folder named by its last argument.
    const std::vector<std::string> arguments = {"hollowquay.exe", folderArgument, "\"quoted\" *",
                                                dir.path().string()};

    const ProcessHandle process = processes.Start(QUILLMERE_ARGUMENT_PROBE_PATH, arguments);
    ASSERT_NE(process, kFailedProcess);
    EXPECT_EQ(processes.Wait(process), 7);
    processes.Close(process);

    EXPECT_EQ(SplitOnNul(ReadFileBytes(dir.File("argv"))), arguments);
    EXPECT_EQ(ReadFileBytes(dir.File("cwd")), std::filesystem::current_path().string() + "\n");
    EXPECT_EQ(ReadFileBytes(dir.File("env")), "inherited");
}

TEST(PosixProcessesTest, FilesThatCannotRunFailToStart) {
    TempDir dir;
    const std::string empty = dir.Write("empty.exe", "");
    ASSERT_EQ(chmod(empty.c_str(), 0700), 0);
    const std::string notExecutable = dir.Write("plain.exe", "#!/bin/sh\nexit 0\n");
    ASSERT_EQ(chmod(notExecutable.c_str(), 0600), 0);

    const std::string cases[] = {
        empty,                               // no format the system can run
        notExecutable,                       // no execute permission, even for root
        dir.File("missing.exe"),             // no such file
        dir.path().string(),                 // a folder
        "http://example.invalid/setup.exe",  // a web address taken for a path
        "",
    };
    PosixProcesses processes;
    for (const std::string& path : cases) {
        EXPECT_EQ(processes.Start(path, {path}), kFailedProcess) << path;
    }
}

// Restores the current folder when the test ends.
class ScopedCurrentFolder {
  public:
    explicit ScopedCurrentFolder(const std::filesystem::path& folder)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedCurrentFolder() { std::filesystem::current_path(saved_); }

  private:
    std::filesystem::path saved_;
};

TEST(PosixProcessesTest, RelativePathsAndWebAddressesNeverStartAFileUnderTheCurrentFolder) {
    TempDir dir;
    // Where a relative lookup would find each path: a web address resolves as "http:/host/...".
    const std::string script = "#!/bin/sh\necho started >> '" + dir.File("started") + "'\n";
    std::filesystem::create_directories(dir.path() / "http:/example.com/files");
    std::filesystem::create_directories(dir.path() / "sub");
    for (const char* planted : {"http:/example.com/files/setup.exe", "setup.exe", "sub/run.exe"}) {
        ASSERT_EQ(chmod(dir.Write(planted, script).c_str(), 0700), 0) << planted;
    }
    ScopedCurrentFolder inside(dir.path());

    PosixProcesses processes;
    for (const char* path : {"http://example.com/files/setup.exe", "setup.exe", "./setup.exe",
                             "sub/run.exe", "file:setup.exe"}) {
        EXPECT_EQ(processes.Start(path, {path}), kFailedProcess) << path;
    }
    // The same file by its absolute path does start, so the plants were runnable.
    const ProcessHandle absolute = processes.Start(dir.File("setup.exe"), {"setup.exe"});
    ASSERT_NE(absolute, kFailedProcess);
    EXPECT_EQ(processes.Wait(absolute), 0);
    EXPECT_EQ(ReadFileBytes(dir.File("started")), "started\n");
}

TEST(PosixProcessesTest, WaitBlocksUntilTheProgramEndsAndGivesItsStatus) {
    TempDir dir;
    PosixProcesses processes;
    const std::string done = dir.File("done");
    const ProcessHandle slow =
        processes.Start("/bin/sh", {"sh", "-c", "sleep 0.3; echo finished > '" + done + "'"});
    ASSERT_NE(slow, kFailedProcess);
    EXPECT_EQ(processes.Wait(slow), 0);
    EXPECT_EQ(ReadFileBytes(done), "finished\n");

    const ProcessHandle killed = processes.Start("/bin/sh", {"sh", "-c", "kill -KILL $$"});
    ASSERT_NE(killed, kFailedProcess);
    EXPECT_EQ(processes.Wait(killed), 128 + SIGKILL);
}

TEST(PosixProcessesTest, WaitingOnAFailedStartTouchesNoOtherChild) {
    PosixProcesses processes;
    const ProcessHandle child = processes.Start("/bin/sh", {"sh", "-c", "exit 3"});
    ASSERT_NE(child, kFailedProcess);
    // waitpid(-1) or waitpid(0) would reap the child above and lose its status.
    EXPECT_EQ(processes.Wait(kFailedProcess), -1);
    EXPECT_EQ(processes.Wait(0), -1);
    EXPECT_EQ(processes.Wait(child), 3);
}

TEST(PosixProcessesTest, ChildDoesNotInheritBlockedOrIgnoredSignals) {
    sigset_t term;
    sigset_t previousMask;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    ASSERT_EQ(sigprocmask(SIG_BLOCK, &term, &previousMask), 0);
    struct sigaction ignore {};
    struct sigaction previousAction {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGTERM, &ignore, &previousAction), 0);

    PosixProcesses processes;
    const ProcessHandle child = processes.Start("/bin/sh", {"sh", "-c", "kill -TERM $$; exit 0"});
    sigaction(SIGTERM, &previousAction, nullptr);
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);

    ASSERT_NE(child, kFailedProcess);
    EXPECT_EQ(processes.Wait(child), 128 + SIGTERM);
}

}  // namespace
}  // namespace quillmere
