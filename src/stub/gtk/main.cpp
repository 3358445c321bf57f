// The viewer on Linux: the book's records are in this executable's data, its package at the end
// of the file.
#include <memory>

#include "app/RunViewer.h"
#include "app/WindowUnavailable.h"
#include "platform/gtk/GtkPlatform.h"
#include "platform/linux/LinuxPlatform.h"

int main() {
    using namespace quillmere;
    LinuxServices posix;
    std::unique_ptr<GtkServices> gtk = GtkServices::Start(posix.system, &posix.lifetime);
    // Without a display no window can open: say so on the terminal.
    WindowUnavailable noDisplay(posix.dialogs,
                                "Unable to open the ebook's window: no display is available");
    Platform platform = gtk ? posix.With(gtk->windowing(), &gtk->dialogs()) : posix.With(noDisplay);
    return RunViewer(platform, gtk ? nullptr : &noDisplay);
}
