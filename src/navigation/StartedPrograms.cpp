#include "navigation/StartedPrograms.h"

#include <algorithm>

namespace quillmere {

void AddStartedProgram(StartedProgramList& list, ProcessHandle handle) {
    if (list.count < 0 || list.count >= kStartedProgramSlots) return;
    list.slots[list.count] = handle;
    ++list.count;
}

void WaitForStartedPrograms(StartedProgramList& list, Processes& processes) {
    const std::int32_t recorded = std::clamp(list.count, 0, kStartedProgramSlots);
    for (std::int32_t i = 0; i < recorded; ++i) {
        const ProcessHandle handle = list.slots[i];
        if (handle == kFailedProcess) continue;
        processes.Wait(handle);  // the exit code is of no interest
        processes.Close(handle);
    }
}

}  // namespace quillmere
