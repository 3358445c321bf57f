// The frame as the reader sees it: caption, the one command on the menu bar, maximised, the
// browser control over the whole client area, the icon; keys and closing through the message loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTestSupport.h"

namespace quillmere::test {
namespace {

std::string Caption(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

RECT ScreenRectOfClient(HWND window) {
    RECT area;
    GetClientRect(window, &area);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

void ExpectCoversClientArea(Win32MainWindow& window) {
    HWND control = window.Browser().ControlWindow();
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsChild(window.Handle(), control));
    RECT covered;
    GetWindowRect(control, &covered);
    const RECT client = ScreenRectOfClient(window.Handle());
    EXPECT_GT(client.right - client.left, 0);
    EXPECT_EQ(covered.left, client.left);
    EXPECT_EQ(covered.top, client.top);
    EXPECT_EQ(covered.right, client.right);
    EXPECT_EQ(covered.bottom, client.bottom);
}

class MainFrameTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(fixture.main); }

    RecordingEvents events;
    WindowFixture fixture{events};
};

TEST_F(MainFrameTest, CaptionIsTheDefaultUntilTheTitleIsSet) {
    EXPECT_EQ(Caption(fixture.handle()), "Quillmere");
    fixture.main->SetCaption("Caf\xe9 book");
    EXPECT_EQ(Caption(fixture.handle()), "Caf\xe9 book");
}

TEST_F(MainFrameTest, OverlappedFrameWithOnePrintCommandDirectlyOnTheBar) {
    const LONG_PTR style = GetWindowLongPtrA(fixture.handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);

    HMENU bar = GetMenu(fixture.handle());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(GetMenuItemID(bar, 0), 57607u);
    EXPECT_EQ(GetSubMenu(bar, 0), nullptr);
    char label[64] = {};
    GetMenuStringA(bar, 0, label, sizeof(label), MF_BYPOSITION);
    EXPECT_STREQ(label, "Print Instructions");
}

TEST_F(MainFrameTest, MenuCommandReachesTheView) {
    SendMessageA(fixture.handle(), WM_COMMAND, MAKEWPARAM(57607, 0), 0);
    EXPECT_EQ(events.commands, std::vector<int>{57607});
}

TEST_F(MainFrameTest, ShownMaximisedAsStartUpAsksWithTheControlFillingTheClientArea) {
    ShowState state = ShowState::Minimized;
    ASSERT_TRUE(fixture.main->GetShowState(state));
    EXPECT_EQ(state, ShowState::Normal);

    fixture.main->SetShowState(ShowState::Maximized);
    EXPECT_FALSE(IsWindowVisible(fixture.handle()));  // shown only when asked to
    fixture.main->Show();
    fixture.main->Update();
    PumpMessages();
    EXPECT_TRUE(IsZoomed(fixture.handle()));
    ASSERT_TRUE(fixture.main->GetShowState(state));
    EXPECT_EQ(state, ShowState::Maximized);
    ExpectCoversClientArea(fixture.window());
}

TEST_F(MainFrameTest, ControlFollowsTheClientAreaWhenTheWindowIsResized) {
    fixture.main->Show();
    for (const SIZE size : {SIZE{640, 480}, SIZE{900, 300}}) {
        SetWindowPos(fixture.handle(), nullptr, 10, 10, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
        ExpectCoversClientArea(fixture.window());
    }
}

TEST_F(MainFrameTest, WindowShowsTheProgramsIcon) {
    // The test program carries the viewer's icon as its first icon.
    HICON systemDefault = LoadIcon(nullptr, IDI_APPLICATION);
    for (const WPARAM which : {ICON_BIG, ICON_SMALL}) {
        auto icon = reinterpret_cast<HICON>(SendMessageA(fixture.handle(), WM_GETICON, which, 0));
        ASSERT_NE(icon, nullptr);
        EXPECT_NE(icon, systemDefault);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(which == ICON_BIG ? SM_CXICON : SM_CXSMICON));
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
}

struct KeyCase {
    WPARAM key;
    std::vector<int> commands;
};

TEST_F(MainFrameTest, AltArrowsAndHomeSendHistoryCommandsThroughTheLoopAndCloseEndsIt) {
    const KeyCase cases[] = {
        {VK_LEFT, {kCommandBack}},
        {VK_RIGHT, {kCommandForward}},
        {VK_HOME, {kCommandHome}},
        {VK_UP, {}},  // no command of ours
    };
    fixture.main->Show();
    PumpMessages();
    HWND control = fixture.window().Browser().ControlWindow();
    ASSERT_NE(control, nullptr);
    for (const KeyCase& key : cases) {
        events.commands.clear();
        // The key goes where the reader's focus is, inside the page; Alt is bit 29.
        PostMessageA(control, WM_SYSKEYDOWN, key.key, 1 | (1 << 29));
        PostMessageA(fixture.handle(), WM_CLOSE, 0, 0);
        fixture.windowing.RunMessageLoop();
        EXPECT_EQ(events.commands, key.commands) << "key " << key.key;
        // Closing hides the window at once and ends the loop; the window itself stays.
        EXPECT_FALSE(IsWindowVisible(fixture.handle()));
        EXPECT_TRUE(IsWindow(fixture.handle()));
        fixture.main->Show();
    }
}

TEST_F(MainFrameTest, LoopReturnsAtOnceWhenTheWindowIsNotShown) {
    PostMessageA(fixture.handle(), WM_COMMAND, MAKEWPARAM(57607, 0), 0);
    fixture.windowing.RunMessageLoop();
    EXPECT_TRUE(events.commands.empty());
    PumpMessages();
}

// A view that fails must not take the window down with it.
class ThrowingEvents : public ViewEvents {
  public:
    void OnBeforeNavigate2(const std::string&, const std::string&, bool&) override {
        throw std::bad_alloc();
    }
    void OnCommand(int) override { throw std::runtime_error("command failed"); }
    void OnDownloadRefused() override {}
};

TEST(MainFrameFailureTest, ExceptionsFromTheViewStopAtTheWindowProcedure) {
    ThrowingEvents events;
    WindowFixture fixture(events);
    ASSERT_TRUE(fixture.main);
    EXPECT_EQ(SendMessageA(fixture.handle(), WM_COMMAND, MAKEWPARAM(57607, 0), 0), 0);
    fixture.main->Show();
    PostMessageA(fixture.window().Browser().ControlWindow(), WM_SYSKEYDOWN, VK_LEFT, 1 | (1 << 29));
    PostMessageA(fixture.handle(), WM_CLOSE, 0, 0);
    fixture.windowing.RunMessageLoop();
    EXPECT_FALSE(IsWindowVisible(fixture.handle()));
}

}  // namespace
}  // namespace quillmere::test
