#pragma once

#include <memory>

#include "platform/Windowing.h"

namespace quillmere {

class CQuillmereView;

// The frame: one window with the "Print Instructions" item on its menu bar and the view filling
// the rest.
class CMainFrame {
  public:
    // nullptr when the window cannot be created. The view is attached to the new window.
    static std::unique_ptr<CMainFrame> Create(Windowing& windowing, CQuillmereView& view);
    ~CMainFrame();
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    MainWindow& Window() { return *window_; }

  private:
    CMainFrame(std::unique_ptr<MainWindow> window, CQuillmereView& view);

    std::unique_ptr<MainWindow> window_;
    CQuillmereView& view_;
};

// The window title shown until start-up sets the ebook's title, and the one menu item.
FrameDescription MainFrameDescription();

}  // namespace quillmere
