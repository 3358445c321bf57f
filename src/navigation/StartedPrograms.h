#pragma once

#include <cstdint>

#include "platform/Processes.h"

namespace quillmere {

inline constexpr std::int32_t kStartedProgramSlots = 200;

struct StartedProgramList {
    std::int32_t count = 0;
    ProcessHandle slots[kStartedProgramSlots] = {};
};

// Records a start result (kFailedProcess included); the 201st and later are not recorded.
void AddStartedProgram(StartedProgramList& list, ProcessHandle handle);
// Waits, without a time limit and in starting order, for every recorded program to end.
void WaitForStartedPrograms(StartedProgramList& list, Processes& processes);

}  // namespace quillmere
