#include "platform/win32/window/Win32Windowing.h"

#include "platform/win32/window/Win32MainWindow.h"

namespace quillmere {

Win32Windowing::Win32Windowing(Windowing* unavailable) : unavailable_(unavailable) {
    oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
}

Win32Windowing::~Win32Windowing() {
    if (oleStarted_) OleUninitialize();
}

std::unique_ptr<MainWindow> Win32Windowing::CreateMainWindow(const FrameDescription& frame,
                                                             ViewEvents& events) {
    std::unique_ptr<MainWindow> window;
    if (oleStarted_) window = Win32MainWindow::Create(frame, events, state_);
    if (!window && unavailable_) return unavailable_->CreateMainWindow(frame, events);
    return window;
}

void Win32Windowing::RunMessageLoop() {
    Win32MainWindow* window = state_->mainWindow;
    if (window == nullptr || !IsWindowVisible(window->Handle())) return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        window = state_->mainWindow;
        if (window != nullptr && window->PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace quillmere
