// What every way of starting programs promises (platform/Processes.h), on each backend of this
// build and on the double that starts nothing. The program started is the probe, built for the
// platform under test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ContractBackends.h"
#include "support/ProbeRecord.h"
#include "support/ScopedVariable.h"

namespace quillmere::testing {
namespace {

template <typename Backend>
class ProcessesContract : public ::testing::Test {
  protected:
    Processes& processes() { return backend.processes(); }
    bool Starts() const { return *Backend::kStartsNothing == '\0'; }

    TempDir dir;
    Backend backend;
};

TYPED_TEST_SUITE(ProcessesContract, ProcessesBackends, BackendName);

TYPED_TEST(ProcessesContract, AStartedProgramGetsItsArgumentsFolderAndEnvironment) {
    if (!this->Starts()) GTEST_SKIP() << TypeParam::kStartsNothing;
    const std::string out = this->dir.File("record.txt");
    ScopedVariable record("QUILLMERE_PROBE_OUT", out);
    ScopedVariable value("QUILLMERE_PROBE_VALUE", "inherited");
    ScopedVariable exitCode("QUILLMERE_PROBE_EXIT", "7");

    const ProcessHandle process = this->processes().Start(QUILLMERE_TEST_PROBE_PATH,
                                                          {"hollowquay.exe", "first", "2nd", "-x"});
    ASSERT_NE(process, kFailedProcess);
    EXPECT_EQ(this->processes().Wait(process), 7);
    this->processes().Close(process);

    EXPECT_EQ(ReadFileBytes(out),
              ProbeRecord({"hollowquay.exe", "first", "2nd", "-x"}, "inherited"));
}

TYPED_TEST(ProcessesContract, EachProgramIsWaitedForOnItsOwn) {
    if (!this->Starts()) GTEST_SKIP() << TypeParam::kStartsNothing;
    ScopedVariable record("QUILLMERE_PROBE_OUT", this->dir.File("record.txt"));
    std::vector<ProcessHandle> started;
    for (const char* code : {"3", "0", "42"}) {
        ScopedVariable exitCode("QUILLMERE_PROBE_EXIT", code);
        started.push_back(this->processes().Start(QUILLMERE_TEST_PROBE_PATH, {"probe"}));
        ASSERT_NE(started.back(), kFailedProcess);
    }
    EXPECT_EQ(this->processes().Wait(started[2]), 42);
    EXPECT_EQ(this->processes().Wait(started[0]), 3);
    EXPECT_EQ(this->processes().Wait(started[1]), 0);
    for (ProcessHandle process : started) this->processes().Close(process);
}

TYPED_TEST(ProcessesContract, AProgramThatCannotStartGivesTheFailedHandle) {
    const std::string missing = this->dir.File("missing.exe");
    const std::string notAProgram = this->dir.Write("page.exe", "<html></html>");
    for (const std::string& path : {missing, notAProgram, std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(this->processes().Start(path, {"page.exe"}), kFailedProcess);
    }
}

}  // namespace
}  // namespace quillmere::testing
