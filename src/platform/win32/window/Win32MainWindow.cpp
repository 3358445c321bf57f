#include "platform/win32/window/Win32MainWindow.h"

#include "platform/win32/window/AppIcon.h"

namespace quillmere {

namespace {

constexpr char kWindowClass[] = "QuillmereMainFrame";

HINSTANCE ThisModule() { return GetModuleHandleA(nullptr); }

bool RegisterFrameClass(HICON bigIcon, HICON smallIcon, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ThisModule();
    windowClass.hIcon = bigIcon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

std::unique_ptr<Win32MainWindow> Win32MainWindow::Create(const FrameDescription& frame,
                                                         ViewEvents& events,
                                                         std::shared_ptr<WindowState> state) {
    std::unique_ptr<Win32MainWindow> window(new Win32MainWindow(events, std::move(state)));
    if (!window->Open(frame)) return nullptr;
    window->state_->mainWindow = window.get();
    if (window->state_->mainWindowChanged) window->state_->mainWindowChanged(window->window_);
    return window;
}

Win32MainWindow::Win32MainWindow(ViewEvents& events, std::shared_ptr<WindowState> state)
    : events_(events), state_(std::move(state)) {}

bool Win32MainWindow::Open(const FrameDescription& frame) {
    bigIcon_ = LoadAppIcon(ThisModule(), GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadAppIcon(ThisModule(), GetSystemMetrics(SM_CXSMICON));
    HICON fallback = LoadIcon(nullptr, IDI_APPLICATION);  // shared: never destroyed
    HICON bigIcon = bigIcon_ ? bigIcon_ : fallback;
    HICON smallIcon = smallIcon_ ? smallIcon_ : fallback;
    if (!RegisterFrameClass(bigIcon, smallIcon, WindowProcedure)) return false;

    // One command directly on the bar, with no drop-down.
    HMENU menu = CreateMenu();
    if (menu == nullptr) return false;
    AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(frame.menuItemCommand),
                frame.menuItemLabel.c_str());
    window_ = CreateWindowExA(0, kWindowClass, frame.defaultCaption.c_str(), WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              menu, ThisModule(), this);
    if (window_ == nullptr) {
        DestroyMenu(menu);
        return false;
    }
    // The class icon is the first window's; each window sets its own.
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));

    browser_ = WebBrowserHost::Create(window_, ClientArea(), events_);
    return browser_ != nullptr;
}

Win32MainWindow::~Win32MainWindow() {
    if (state_->mainWindow == this) {
        state_->mainWindow = nullptr;
        if (state_->mainWindowChanged) state_->mainWindowChanged(nullptr);
    }
    browser_.reset();
    if (window_) {
        // Messages sent while the window goes find no object any more.
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

bool Win32MainWindow::GetShowState(ShowState& state) {
    if (!IsWindowVisible(window_)) {
        state = requested_;
    } else if (IsIconic(window_)) {
        state = ShowState::Minimized;
    } else if (IsZoomed(window_)) {
        state = ShowState::Maximized;
    } else {
        state = ShowState::Normal;
    }
    return true;
}

void Win32MainWindow::SetShowState(ShowState state) {
    requested_ = state;
    // A hidden window takes the state when it is shown.
    if (!IsWindowVisible(window_)) return;
    switch (state) {
        case ShowState::Maximized:
            ShowWindow(window_, SW_MAXIMIZE);
            break;
        case ShowState::Minimized:
            ShowWindow(window_, SW_MINIMIZE);
            break;
        case ShowState::Normal:
            ShowWindow(window_, SW_RESTORE);
            break;
    }
}

void Win32MainWindow::Show() {
    switch (requested_) {
        case ShowState::Maximized:
            ShowWindow(window_, SW_SHOWMAXIMIZED);
            break;
        case ShowState::Minimized:
            ShowWindow(window_, SW_SHOWMINIMIZED);
            break;
        case ShowState::Normal:
            ShowWindow(window_, SW_SHOWNORMAL);
            break;
    }
}

void Win32MainWindow::Update() { UpdateWindow(window_); }

void Win32MainWindow::SetCaption(const std::string& caption) {
    SetWindowTextA(window_, caption.c_str());
}

void Win32MainWindow::BringToForeground() { SetForegroundWindow(window_); }

void Win32MainWindow::Navigate(const std::string& target) { browser_->Navigate(target); }
void Win32MainWindow::GoBack() { browser_->GoBack(); }
void Win32MainWindow::GoForward() { browser_->GoForward(); }
void Win32MainWindow::PrintCurrentPage() { browser_->Print(); }
// The control's about: protocol shows the text after the colon as the page.
void Win32MainWindow::ShowOwnPage(const std::string& html) { browser_->Navigate("about:" + html); }
void Win32MainWindow::SetZoom(int percent) { browser_->SetZoom(percent); }

bool Win32MainWindow::PreTranslate(MSG& message) {
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    return TakeNavigationKey(message) || browser_->TranslateKey(message);
}

bool Win32MainWindow::TakeNavigationKey(const MSG& message) {
    // Alt alone with Left, Right or Home: the browser's own history keys, sent as the commands.
    if (message.message != WM_SYSKEYDOWN || KeyDown(VK_CONTROL) || KeyDown(VK_SHIFT)) return false;
    switch (message.wParam) {
        case VK_LEFT:
            SendCommand(kCommandBack);
            return true;
        case VK_RIGHT:
            SendCommand(kCommandForward);
            return true;
        case VK_HOME:
            SendCommand(kCommandHome);
            return true;
        default:
            return false;
    }
}

RECT Win32MainWindow::ClientArea() const {
    RECT area{};
    GetClientRect(window_, &area);
    return area;
}

void Win32MainWindow::SendCommand(int command) {
    try {
        events_.OnCommand(command);
    } catch (...) {
        // Nothing may unwind through the system's frames; the command is dropped.
    }
}

void Win32MainWindow::EndSession() {
    ShowWindow(window_, SW_HIDE);
    // The process may be ended as soon as this returns, so the clean-up runs now. It may destroy
    // this window: nothing here is touched afterwards.
    if (state_->sessionEnd) {
        const auto sessionEnd = state_->sessionEnd;
        sessionEnd();
    }
}

LRESULT CALLBACK Win32MainWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* self = static_cast<Win32MainWindow*>(creation->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's frames.
        return 0;
    }
}

LRESULT Win32MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (browser_ && wParam != SIZE_MINIMIZED) browser_->Resize(ClientArea());
            return 0;
        case WM_SETFOCUS:
            if (browser_) browser_->Focus();
            return 0;
        case WM_COMMAND:
            // Menu commands only; the control's own notifications are none of the frame's.
            if (HIWORD(wParam) == 0 && lParam == 0) SendCommand(LOWORD(wParam));
            return 0;
        case WM_CLOSE:
            // The reader sees the window go at once; the clean-up after the loop needs none.
            ShowWindow(window_, SW_HIDE);
            PostQuitMessage(0);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) EndSession();
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

}  // namespace quillmere
