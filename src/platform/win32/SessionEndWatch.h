#pragma once

#include <windows.h>

#include <functional>

namespace quillmere {

// A hidden top-level window of its own, which hears the session's end while the main window is
// gone (the exit sequence waits for started programs then): WM_QUERYENDSESSION is answered yes,
// and WM_ENDSESSION runs `onEnd`. Messages reach it only while its thread pumps them.
class SessionEndWatch {
  public:
    static constexpr const char* kClassName = "QuillmereSessionWatch";

    explicit SessionEndWatch(std::function<void()> onEnd);
    ~SessionEndWatch();
    SessionEndWatch(const SessionEndWatch&) = delete;
    SessionEndWatch& operator=(const SessionEndWatch&) = delete;

    // nullptr when the window could not be made.
    HWND Window() const { return window_; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::function<void()> onEnd_;
    HWND window_ = nullptr;
};

}  // namespace quillmere
