#pragma once

#include <cstdint>
#include <string>

#include "navigation/StartedPrograms.h"
#include "platform/AppContext.h"
#include "records/PackageDirectory.h"

namespace quillmere {

// The application state a program launch reads and changes.
struct LaunchContext {
    AppContext& ctx;
    const PackageDirectory& directory;
    const std::uint8_t* selfImage;  // package region already deciphered
    std::uint32_t selfImageSize;
    const std::string& workspace;  // ends with the separator
    StartedProgramList& started;
};

void LaunchPackagedProgram(LaunchContext& launch, const std::string& name,
                           const std::string& argument);
void StartLinkedProgram(LaunchContext& launch, const std::string& url);

}  // namespace quillmere
