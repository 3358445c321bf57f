#pragma once

#include <functional>
#include <memory>

#include "platform/Windowing.h"
#include "platform/win32/window/Win32Headers.h"
#include "platform/win32/window/WindowState.h"

namespace quillmere {

// The main window and its message loop on Win32. Initialises OLE on this thread for the browser
// control; must outlive every window it creates.
class Win32Windowing final : public Windowing {
  public:
    // `unavailable`, when given, is asked for the window when this one cannot make it: it tells
    // the reader why.
    explicit Win32Windowing(Windowing* unavailable = nullptr);
    ~Win32Windowing() override;
    Win32Windowing(const Win32Windowing&) = delete;
    Win32Windowing& operator=(const Win32Windowing&) = delete;

    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription& frame,
                                                 ViewEvents& events) override;
    void RunMessageLoop() override;

    // Told the main window's handle when it is made, and nullptr when it goes.
    void OnMainWindowChange(std::function<void(HWND)> changed) {
        state_->mainWindowChanged = std::move(changed);
    }
    // What the session's end runs before the process may be ended (the exit sequence).
    void OnSessionEnd(std::function<void()> cleanUp) { state_->sessionEnd = std::move(cleanUp); }

  private:
    std::shared_ptr<WindowState> state_ = std::make_shared<WindowState>();
    Windowing* unavailable_;
    bool oleStarted_ = false;
};

}  // namespace quillmere
