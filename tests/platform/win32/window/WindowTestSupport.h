#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Windowing.h"
#include "platform/win32/window/Win32MainWindow.h"
#include "platform/win32/window/Win32Windowing.h"

namespace quillmere::test {

struct ReportedNavigation {
    std::string url;
    std::string targetFrame;
};

// Records what the window reports and answers navigations with `cancelAll`.
class RecordingEvents : public ViewEvents {
  public:
    void OnBeforeNavigate2(const std::string& url, const std::string& targetFrame,
                           bool& cancel) override {
        navigations.push_back({url, targetFrame});
        if (cancelAll) cancel = true;
    }
    void OnCommand(int commandId) override { commands.push_back(commandId); }
    void OnDownloadRefused() override {}

    bool cancelAll = false;
    std::vector<ReportedNavigation> navigations;
    std::vector<int> commands;
};

// Handles posted and sent messages until none is waiting.
void PumpMessages();

// A main window as start-up makes it, hidden until a test shows it.
struct WindowFixture {
    explicit WindowFixture(ViewEvents& events);
    Win32MainWindow& window() { return *static_cast<Win32MainWindow*>(main.get()); }
    HWND handle() { return window().Handle(); }

    Win32Windowing windowing;
    std::unique_ptr<MainWindow> main;
};

}  // namespace quillmere::test
