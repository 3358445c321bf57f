#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/Win32Processes.h"
#include "support/TempDir.h"
#include "support/Win32TestSupport.h"

namespace quillmere {
namespace {

using testing::ReadProbeRecord;
using testing::ScopedVariable;
using testing::TempDir;

// The probe sits beside a DLL that only its own folder holds (see tests/CMakeLists.txt).
std::string LoadsThePlantedDll(bool restricted) {
    TempDir dir;
    const std::string out = dir.File("record.txt");
    ScopedVariable record("QUILLMERE_PROBE_OUT", out);
    ScopedVariable dll("QUILLMERE_PROBE_DLL", "quillmere-planted.dll");
    std::optional<ScopedVariable> restrict;
    if (restricted) restrict.emplace("QUILLMERE_PROBE_RESTRICT", "1");

    Win32Processes processes;
    const ProcessHandle process = processes.Start(QUILLMERE_PROBE_PATH, {"probe.exe"});
    if (process == kFailedProcess) return "no start";
    processes.Wait(process);
    processes.Close(process);
    const auto recorded = ReadProbeRecord(out);
    const auto found = recorded.find("dll");
    return found == recorded.end() ? "no record" : found->second;
}

TEST(DllSearchPath, ADllBesideTheProgramIsNotLoadedByNameOnceTheSearchIsRestricted) {
    EXPECT_EQ(LoadsThePlantedDll(false), "loaded");
    EXPECT_EQ(LoadsThePlantedDll(true), "not loaded");
}

}  // namespace
}  // namespace quillmere
