// The viewer: the book's records are in this executable's data, its package at the end of the file.
#include <memory>

#include "app/ApplicationFramework.h"
#include "app/QuillmereApp.h"
#include "platform/gtk/GtkPlatform.h"
#include "platform/posix/PosixPlatform.h"
#include "records/StubRecords.h"

namespace quillmere {
namespace {

// Without a display no window can open: say so on the terminal, and start-up ends there.
class NoDisplayWindowing : public Windowing {
  public:
    explicit NoDisplayWindowing(Dialogs& dialogs) : dialogs_(dialogs) {}

    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription&, ViewEvents&) override {
        dialogs_.ShowMessageBox("Unable to open the ebook's window: no display is available",
                                app ? app->Context.appName : kInitialAppName, kStopBox);
        return nullptr;
    }
    void RunMessageLoop() override {}

    // Captions the message with the ebook's title.
    const CQuillmereApp* app = nullptr;

  private:
    Dialogs& dialogs_;
};

}  // namespace
}  // namespace quillmere

int main() {
    using namespace quillmere;
    PosixServices posix;
    std::unique_ptr<GtkServices> gtk = GtkServices::Start(posix.system, &posix.lifetime);
    NoDisplayWindowing noDisplay(posix.dialogs);
    Platform platform = gtk ? posix.With(gtk->windowing(), &gtk->dialogs()) : posix.With(noDisplay);

    CQuillmereApp app(platform, StubRecordBlock());
    noDisplay.app = &app;
    return RunApplication(app);
}
