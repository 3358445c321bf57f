#pragma once

#include "platform/Platform.h"
#include "platform/posix/GioShell.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixLifetime.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/PosixSystem.h"
#include "platform/posix/RegFileRegistry.h"
#include "platform/posix/TerminalDialogs.h"

namespace quillmere {

// The POSIX services, one of each, built once in main. Windowing comes from the GTK backend, which
// also brings real message boxes when there is a display.
class PosixServices {
  public:
    PosixServices() = default;
    PosixServices(const PosixServices&) = delete;
    PosixServices& operator=(const PosixServices&) = delete;

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
    PosixFileSystem files;
    RegFileRegistry registry;
    PosixSystem system;
    PosixProcesses processes;
    GioShell shell;
    PosixLifetime lifetime;
    TerminalDialogs dialogs;
};

}  // namespace quillmere
