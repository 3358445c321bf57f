#pragma once

#include <functional>
#include <memory>

#include "platform/Windowing.h"
#include "platform/win32/window/Win32Headers.h"
#include "platform/win32/window/WindowState.h"

namespace quillmere {

class Win32MainWindow;

// The main window and its message loop on Win32. Initialises OLE on this thread for the browser
// control; must outlive every window it creates.
class Win32Windowing final : public Windowing {
  public:
    Win32Windowing();
    ~Win32Windowing() override;
    Win32Windowing(const Win32Windowing&) = delete;
    Win32Windowing& operator=(const Win32Windowing&) = delete;

    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription& frame,
                                                 ViewEvents& events) override;
    void RunMessageLoop() override;

    // The owner of message boxes: the main window while it is shown, else none.
    HWND OwnerWindow() const;
    // What the session's end runs before the process may be ended (the exit sequence).
    void OnSessionEnd(std::function<void()> cleanUp) { state_->sessionEnd = std::move(cleanUp); }

    Win32MainWindow* MainWindowObject() const { return state_->mainWindow; }

  private:
    std::shared_ptr<WindowState> state_ = std::make_shared<WindowState>();
    bool oleStarted_ = false;
};

}  // namespace quillmere
