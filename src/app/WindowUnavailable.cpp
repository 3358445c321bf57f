#include "app/WindowUnavailable.h"

#include <utility>

#include "app/QuillmereApp.h"

namespace quillmere {

WindowUnavailable::WindowUnavailable(Dialogs& dialogs, std::string reason)
    : dialogs_(dialogs), reason_(std::move(reason)) {}

std::unique_ptr<MainWindow> WindowUnavailable::CreateMainWindow(const FrameDescription&,
                                                                ViewEvents&) {
    dialogs_.ShowMessageBox(reason_, app ? app->Context.appName : kInitialAppName, kStopBox);
    return nullptr;
}

}  // namespace quillmere
