#pragma once

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Lifetime.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/Windowing.h"

namespace quillmere {

// Everything the viewer asks of the operating system. Code outside src/platform reaches the system
// only through these.
struct Platform {
    Dialogs& dialogs;
    Lifetime& lifetime;
    FileSystem& files;
    Registry& registry;
    System& system;
    Processes& processes;
    Shell& shell;
    Windowing& windowing;
};

}  // namespace quillmere
