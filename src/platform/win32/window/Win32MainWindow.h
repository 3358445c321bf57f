#pragma once

#include <memory>

#include "platform/Windowing.h"
#include "platform/win32/window/WebBrowserHost.h"
#include "platform/win32/window/Win32Headers.h"
#include "platform/win32/window/WindowState.h"

namespace quillmere {

// The frame: an overlapped window with the application icon, a menu bar holding one command, and
// the WebBrowser control over the whole client area. Closing it hides it and ends the message
// loop; destroying this object destroys the window.
class Win32MainWindow final : public MainWindow {
  public:
    // nullptr when the window or its control cannot be created.
    static std::unique_ptr<Win32MainWindow> Create(const FrameDescription& frame,
                                                   ViewEvents& events,
                                                   std::shared_ptr<WindowState> state);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    bool GetShowState(ShowState& state) override;
    void SetShowState(ShowState state) override;
    void Show() override;
    void Update() override;
    void SetCaption(const std::string& caption) override;
    void BringToForeground() override;
    void Navigate(const std::string& target) override;
    void GoBack() override;
    void GoForward() override;
    void PrintCurrentPage() override;
    void ShowOwnPage(const std::string& html) override;
    void SetZoom(int percent) override;

    // Keys the window or the control take before the message is dispatched; true when taken.
    bool PreTranslate(MSG& message);

    HWND Handle() const { return window_; }
    WebBrowserHost& Browser() { return *browser_; }

  private:
    Win32MainWindow(ViewEvents& events, std::shared_ptr<WindowState> state);
    bool Open(const FrameDescription& frame);
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    RECT ClientArea() const;
    void SendCommand(int command);
    bool TakeNavigationKey(const MSG& message);
    void EndSession();

    ViewEvents& events_;
    std::shared_ptr<WindowState> state_;
    HWND window_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::unique_ptr<WebBrowserHost> browser_;
    ShowState requested_ = ShowState::Normal;
};

}  // namespace quillmere
