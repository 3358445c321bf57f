#pragma once

#include "platform/Platform.h"
#include "platform/linux/GioShell.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/posix/PosixLifetime.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/RegFileRegistry.h"
#include "platform/posix/TerminalDialogs.h"

namespace quillmere {

// The Linux services, one of each, built once in main. Windowing comes from the GTK backend, which
// also brings real message boxes when there is a display.
class LinuxServices {
  public:
    LinuxServices() = default;
    LinuxServices(const LinuxServices&) = delete;
    LinuxServices& operator=(const LinuxServices&) = delete;

    // The whole platform with the given window system; the terminal boxes unless `dialogs` is
    // given.
    Platform With(Windowing& windowing, Dialogs* dialogs = nullptr);

  private:
    // Takes the user's locale (setlocale(LC_ALL, "")), which the code page depends on, before any
    // other member is built.
    struct UserLocale {
        UserLocale();
    } userLocale_;

  public:
    LinuxFileSystem files;
    RegFileRegistry registry;
    LinuxSystem system;
    PosixProcesses processes;
    GioShell shell;
    PosixLifetime lifetime;
    TerminalDialogs dialogs;
};

}  // namespace quillmere
