#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "navigation/StartedPrograms.h"
#include "support/NativeBackend.h"
#include "support/ProbeRecord.h"
#include "support/ScopedVariable.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::ReadFileBytes;
using testing::ScopedVariable;
using testing::TempDir;

// Remembers what was asked, in order; every process "ends" at once.
class ScriptedProcesses : public Processes {
  public:
    ProcessHandle Start(const std::string&, const std::vector<std::string>&) override {
        return kFailedProcess;
    }
    int Wait(ProcessHandle process) override {
        events.push_back("wait " + std::to_string(process));
        return 0;
    }
    void Close(ProcessHandle process) override {
        events.push_back("close " + std::to_string(process));
    }
    std::vector<std::string> events;
};

TEST(StartedPrograms, RecordsTheFirst200StartsOnly) {
    StartedProgramList list;
    for (ProcessHandle handle = 1000; handle < 1201; ++handle) AddStartedProgram(list, handle);

    EXPECT_EQ(list.count, 200);
    EXPECT_EQ(list.slots[0], 1000);
    EXPECT_EQ(list.slots[199], 1199);

    ScriptedProcesses processes;
    WaitForStartedPrograms(list, processes);
    ASSERT_EQ(processes.events.size(), 400u);
    EXPECT_EQ(processes.events.back(), "close 1199");  // the 201st is never waited for
}

TEST(StartedPrograms, WaitsForEachInStartingOrderAndSkipsFailedStarts) {
    StartedProgramList list;
    AddStartedProgram(list, 31);
    AddStartedProgram(list, kFailedProcess);
    AddStartedProgram(list, 17);

    ScriptedProcesses processes;
    WaitForStartedPrograms(list, processes);

    EXPECT_EQ(processes.events,
              (std::vector<std::string>{"wait 31", "close 31", "wait 17", "close 17"}));
}

TEST(StartedPrograms, NothingRecordedMeansNothingToWaitFor) {
    StartedProgramList list;
    ScriptedProcesses processes;
    WaitForStartedPrograms(list, processes);
    EXPECT_TRUE(processes.events.empty());
}

void Append(const std::string& path, const std::string& line) {
    std::ofstream(path, std::ios::app | std::ios::binary) << line << "\n";
}

TEST(StartedPrograms, WaitReturnsOnlyWhenARunningProgramHasEnded) {
    TempDir dir;
    const std::string events = dir.File("events");
    const std::string go = dir.File("go");
    // The probe waits for `go`, then appends its record, "...end", to `events`.
    ScopedVariable out("QUILLMERE_PROBE_OUT", events);
    ScopedVariable await("QUILLMERE_PROBE_AWAIT", go);

    testing::NativeProcesses processes;
    StartedProgramList list;
    AddStartedProgram(list, processes.Start(QUILLMERE_TEST_PROBE_PATH, {"waiter.exe"}));
    ASSERT_NE(list.slots[0], kFailedProcess);

    // The program is released only from another thread, a while after the wait has begun.
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Append(events, "released");
        std::ofstream(go) << "";
    });
    WaitForStartedPrograms(list, processes);
    Append(events, "waited");
    releaser.join();

    EXPECT_EQ(ReadFileBytes(events),
              "released\n" + testing::ProbeRecord({"waiter.exe"}) + "waited\n");
}

}  // namespace
}  // namespace quillmere
