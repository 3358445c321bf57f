#include "platform/win32/SessionEndWatch.h"

namespace quillmere {

namespace {

void RegisterOnce(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSA existing{};
    if (GetClassInfoA(instance, SessionEndWatch::kClassName, &existing)) return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = SessionEndWatch::kClassName;
    RegisterClassA(&windowClass);
}

}  // namespace

SessionEndWatch::SessionEndWatch(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterOnce(instance, &SessionEndWatch::Procedure);
    // Top-level, not message-only: only top-level windows are told that the session ends.
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, this);
}

SessionEndWatch::~SessionEndWatch() {
    if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK SessionEndWatch::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* watch = reinterpret_cast<SessionEndWatch*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam && watch != nullptr && watch->onEnd_) watch->onEnd_();
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace quillmere
