// The main window's life as the rest of the program sees it: message boxes learn their owner, a
// window that cannot be made is reported elsewhere, and the session's end runs the clean-up
// before the system may end the process.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "WindowTestSupport.h"

namespace quillmere::test {
namespace {

const FrameDescription kFrame{"Quillmere", "Print Instructions", kCommandPrint};

TEST(SessionTest, MessageBoxOwnerIsTheMainWindowWhileItExists) {
    Win32Windowing windowing;
    std::vector<HWND> owners;
    windowing.OnMainWindowChange([&](HWND window) { owners.push_back(window); });
    RecordingEvents events;
    auto window = windowing.CreateMainWindow(kFrame, events);
    ASSERT_TRUE(window);
    const HWND handle = static_cast<Win32MainWindow&>(*window).Handle();
    window.reset();
    EXPECT_EQ(owners, (std::vector<HWND>{handle, nullptr}));
}

class UnavailableWindowing : public Windowing {
  public:
    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription& frame,
                                                 ViewEvents&) override {
        askedFor = frame.defaultCaption;
        return nullptr;
    }
    void RunMessageLoop() override {}
    std::string askedFor;
};

TEST(SessionTest, WindowThatCannotBeMadeIsLeftToTheFallback) {
    // A thread already in the multithreaded apartment cannot host the control.
    UnavailableWindowing unavailable;
    bool made = true;
    std::thread thread([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            Win32Windowing windowing(&unavailable);
            RecordingEvents events;
            made = windowing.CreateMainWindow(kFrame, events) != nullptr;
        }
        CoUninitialize();
    });
    thread.join();
    EXPECT_FALSE(made);
    EXPECT_EQ(unavailable.askedFor, "Quillmere");
}

TEST(SessionTest, SessionEndRunsTheCleanUpWithTheWindowAlreadyGone) {
    RecordingEvents events;
    WindowFixture fixture(events);
    ASSERT_TRUE(fixture.main);
    fixture.main->Show();
    const HWND handle = fixture.handle();
    int cleanUps = 0;
    bool hiddenFirst = false;
    // The real clean-up destroys the window from inside its own message.
    fixture.windowing.OnSessionEnd([&] {
        ++cleanUps;
        hiddenFirst = !IsWindowVisible(handle);
        fixture.main.reset();
    });

    EXPECT_EQ(SendMessageA(handle, WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageA(handle, WM_ENDSESSION, FALSE, 0);  // the log-off was called off
    EXPECT_EQ(cleanUps, 0);
    EXPECT_TRUE(IsWindowVisible(handle));

    SendMessageA(handle, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(cleanUps, 1);
    EXPECT_TRUE(hiddenFirst);
    EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
}  // namespace quillmere::test
