#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/AppContext.h"
#include "records/RecordLayout.h"
#include "records/UnmergedRecordBlock.h"
#include "support/FakePlatform.h"
#include "support/MemoryFiles.h"

namespace quillmere::testing {

// Loading the records touches only the message box and the process end; the rest refuses.
struct RecordsTestContext {
    RecordsTestContext() { files.createFails = true; }

    FakeDialogs dialogs;
    FakeLifetime lifetime;
    MemoryFiles files;
    MemoryRegistry registry;
    FakeSystem system;
    NoProcesses processes;
    FakeShell shell;
    FakeWindowing windowing;
    Platform platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};
    AppContext ctx{platform, {}};
};

// The stub's record block as built, in a heap buffer of exactly its size so that the sanitizers
// notice any read past it.
inline std::vector<std::uint8_t> UnmergedBlockCopy() {
    const RecordBlock block = UnmergedRecordBlock();
    return std::vector<std::uint8_t>(block.begin(), block.end());
}

}  // namespace quillmere::testing
