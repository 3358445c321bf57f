#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "platform/Windowing.h"

namespace quillmere {

class CQuillmereApp;

// Where no window can be opened: the reader is told why in a stop box, and start-up ends there.
class WindowUnavailable : public Windowing {
  public:
    WindowUnavailable(Dialogs& dialogs, std::string reason);

    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription& frame,
                                                 ViewEvents& events) override;
    void RunMessageLoop() override {}

    // Captions the box with the ebook's title once the records are read.
    const CQuillmereApp* app = nullptr;

  private:
    Dialogs& dialogs_;
    std::string reason_;
};

}  // namespace quillmere
