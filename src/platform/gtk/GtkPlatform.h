#pragma once

#include <memory>

#include "platform/Dialogs.h"
#include "platform/System.h"
#include "platform/Windowing.h"
#include "platform/gtk/GtkDialogs.h"
#include "platform/gtk/GtkShared.h"
#include "platform/gtk/GtkWindowing.h"
#include "platform/posix/PosixLifetime.h"

namespace quillmere {

// The desktop side of the platform on GTK 3 and WebKitGTK: message boxes, the main window and its
// web view. Message boxes shown while the main window is visible are modal to it. Must outlive
// every window it creates.
//
// Printing honours QUILLMERE_PRINT_TO_FILE (see platform/gtk/PagePrinting.h): set to a path, it
// writes the printed page to that PDF file instead of showing the print dialog.
class GtkServices {
  public:
    // nullptr when GTK cannot start, typically for want of a display; the caller then reports
    // through other means. Text given to the services is in `system`'s ANSI code page. The loss
    // of an X display (the server gone, the client killed) is a stop of `lifetime`; without one,
    // GDK ends the process.
    static std::unique_ptr<GtkServices> Start(System& system, PosixLifetime* lifetime = nullptr);

    Dialogs& dialogs() { return dialogs_; }
    Windowing& windowing() { return windowing_; }

  private:
    explicit GtkServices(const std::shared_ptr<GtkShared>& shared);

    std::shared_ptr<GtkShared> shared_;
    GtkDialogs dialogs_;
    GtkWindowing windowing_;
};

}  // namespace quillmere
