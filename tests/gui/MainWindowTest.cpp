// The frame: caption, menu bar, size, keyboard commands, history, closing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "gui/GuiHarness.h"

namespace quillmere::testing {
namespace {

class MainWindowTest : public WindowTest {
  protected:
    // Keys reach a window only once it has the focus; without a window manager nobody gives it.
    void PressKeys(const std::string& keys) {
        ASSERT_TRUE(
            RunTool({"xdotool", "windowfocus", "--sync", WindowId(gtk->Window()), "key", keys}));
    }

    // Runs until `command` arrives, so that everything sent before it has been handled.
    bool WaitForCommand(int command) {
        return PumpUntil(
            [&] { return !events.commands.empty() && events.commands.back() == command; });
    }
};

TEST_F(MainWindowTest, MenuBarHoldsTheOneCommandAndCaptionFollowsSetCaption) {
    EXPECT_STREQ(gtk_window_get_title(gtk->Window()), "Quillmere");
    window->SetCaption("Caf\xc3\xa9 Stories");
    EXPECT_STREQ(gtk_window_get_title(gtk->Window()), "Caf\xc3\xa9 Stories");

    GList* items = gtk_container_get_children(GTK_CONTAINER(gtk->MenuBar()));
    ASSERT_EQ(g_list_length(items), 1u);
    GtkMenuItem* item = GTK_MENU_ITEM(items->data);
    g_list_free(items);
    EXPECT_STREQ(gtk_menu_item_get_label(item), "Print Instructions");
    EXPECT_EQ(gtk_menu_item_get_submenu(item), nullptr);
}

TEST_F(MainWindowTest, MaximisedWindowCoversTheWorkArea) {
    GdkRectangle area;
    gdk_monitor_get_workarea(
        gdk_display_get_monitor_at_window(gdk_display_get_default(),
                                          gtk_widget_get_window(GTK_WIDGET(gtk->Window()))),
        &area);
    auto covers = [&] {
        GtkAllocation box;
        gtk_widget_get_allocation(GTK_WIDGET(gtk->Window()), &box);
        return box.width == area.width && box.height == area.height;
    };
    ASSERT_FALSE(covers());  // the normal size is smaller than the screen

    window->SetShowState(ShowState::Maximized);
    EXPECT_TRUE(PumpUntil(covers));
    window->SetCaption("Window Care");
    ASSERT_TRUE(Open(dir.Write("page.html",
                               "<title>Care</title><h1>Window care</h1><p>Wipe "
                               "the glass with a soft cloth.</p>"),
                     "Care"));
    ShowState state = ShowState::Normal;
    ASSERT_TRUE(window->GetShowState(state));
    EXPECT_EQ(state, ShowState::Maximized);
    MaybeScreenshot("main-window");

    window->SetShowState(ShowState::Normal);
    EXPECT_TRUE(PumpUntil([&] { return !covers(); }));
    ASSERT_TRUE(window->GetShowState(state));
    EXPECT_EQ(state, ShowState::Normal);
}

TEST_F(MainWindowTest, AltArrowsAndAltHomeSendHistoryCommands) {
    struct Case {
        const char* keys;
        int command;
    };
    for (const Case& c : {Case{"alt+Left", kCommandBack}, Case{"alt+Right", kCommandForward},
                          Case{"alt+Home", kCommandHome}, Case{"alt+KP_Left", kCommandBack}}) {
        SCOPED_TRACE(c.keys);
        events.commands.clear();
        PressKeys(c.keys);
        ASSERT_TRUE(WaitForCommand(c.command));
        EXPECT_EQ(events.commands, std::vector<int>{c.command});
    }
    // Arrows without Alt, and with more than Alt, belong to the page.
    events.commands.clear();
    PressKeys("Left");
    PressKeys("ctrl+alt+Right");
    PressKeys("alt+Home");
    ASSERT_TRUE(WaitForCommand(kCommandHome));
    EXPECT_EQ(events.commands, std::vector<int>{kCommandHome});
}

TEST_F(MainWindowTest, OneQuickClickOnTheMenuItemSendsItsCommandOnce) {
    int x = 0;
    int y = 0;
    ScreenCentre(gtk->MenuItem(), x, y);
    ASSERT_TRUE(RunTool(
        {"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"}));
    ASSERT_TRUE(WaitForCommand(kCommandPrint));
    // A later key shows that nothing else followed the click.
    PressKeys("alt+Home");
    ASSERT_TRUE(WaitForCommand(kCommandHome));
    EXPECT_EQ(events.commands, (std::vector<int>{kCommandPrint, kCommandHome}));
    EXPECT_EQ(gtk_menu_shell_get_selected_item(GTK_MENU_SHELL(gtk->MenuBar())), nullptr);
}

TEST_F(MainWindowTest, BackAndForwardWalkTheHistory) {
    const std::string first = dir.Write("one.html", "<title>One</title>1");
    const std::string second = dir.Write("two.html", "<title>Two</title>2");
    ASSERT_TRUE(Open(first, "One"));
    ASSERT_TRUE(Open(second, "Two"));
    window->GoBack();
    EXPECT_TRUE(PumpUntil([&] { return Title() == "One"; }));
    window->GoForward();
    EXPECT_TRUE(PumpUntil([&] { return Title() == "Two"; }));
    // History moves are navigations too.
    EXPECT_EQ(events.Count(FileUri(first)), 2);
    EXPECT_EQ(events.Count(FileUri(second)), 2);
}

// The view starts its web process with an empty page of its own before the first navigation; that
// page is never reported, never counted as a finished load and never joins the history.
TEST_F(MainWindowTest, TheViewsOwnFirstPageLeavesNoTrace) {
    const std::string times = (dir.path() / "load-times").string();
    const std::string page = dir.Write("one.html", "<title>One</title>1");
    g_setenv(kLoadTimesVariable, times.c_str(), TRUE);
    RecordingEvents fresh;
    std::unique_ptr<MainWindow> other = SharedServices()->windowing().CreateMainWindow(
        {"Quillmere", "Print Instructions", kCommandPrint}, fresh);
    ASSERT_NE(other, nullptr);
    auto* view = static_cast<GtkMainWindow*>(other.get())->WebView();
    other->Show();
    PumpFor(1500ms);
    EXPECT_TRUE(fresh.navigations.empty());
    EXPECT_FALSE(std::filesystem::exists(times));

    other->Navigate(page);
    EXPECT_TRUE(PumpUntil([&] {
        const char* title = webkit_web_view_get_title(view);
        return title && std::string(title) == "One" && !webkit_web_view_is_loading(view);
    }));
    PumpFor(300ms);
    g_unsetenv(kLoadTimesVariable);
    EXPECT_EQ(fresh.navigations, (std::vector<RecordingEvents::Navigation>{{FileUri(page), ""}}));
    EXPECT_FALSE(webkit_web_view_can_go_back(view));
    std::ifstream in(times);
    std::string line;
    int stamps = 0;
    while (std::getline(in, line)) stamps += line.rfind("load-finished ", 0) == 0;
    EXPECT_EQ(stamps, 1);
}

gboolean CloseWindow(gpointer window) {
    gtk_window_close(GTK_WINDOW(window));
    return G_SOURCE_REMOVE;
}

gboolean GiveUp(gpointer gaveUp) {
    *static_cast<bool*>(gaveUp) = true;
    gtk_main_quit();
    return G_SOURCE_REMOVE;
}

TEST_F(MainWindowTest, ClosingHidesTheWindowAndEndsTheLoop) {
    bool gaveUp = false;
    const guint fallback = g_timeout_add_seconds(60, GiveUp, &gaveUp);
    g_idle_add(CloseWindow, gtk->Window());
    SharedServices()->windowing().RunMessageLoop();
    ASSERT_FALSE(gaveUp);
    g_source_remove(fallback);
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(gtk->Window())));

    // With the window gone, the loop has nothing to wait for.
    const guint second = g_timeout_add_seconds(60, GiveUp, &gaveUp);
    SharedServices()->windowing().RunMessageLoop();
    EXPECT_FALSE(gaveUp);
    if (!gaveUp) g_source_remove(second);

    gpointer widget = gtk->Window();
    g_object_add_weak_pointer(G_OBJECT(widget), &widget);
    window.reset();
    EXPECT_EQ(widget, nullptr);
}

// Pages that do not name their encoding are read in the user's code page.
TEST(DefaultEncodingTest, PagesWithoutCharsetAreReadInTheUserCodePage) {
    if (SharedServices() == nullptr) GTEST_SKIP() << "no display";
    struct Case {
        unsigned codePage;
        const char* titleBytes;
        const char* titleUtf8;
    };
    for (const Case& c : {Case{1252, "caf\xe9", "caf\xc3\xa9"},
                          Case{932, "\x93\xfa\x96\x7b", "\xe6\x97\xa5\xe6\x9c\xac"},
                          Case{65001, "caf\xc3\xa9", "caf\xc3\xa9"}}) {
        SCOPED_TRACE(c.codePage);
        FakeSystem system;
        system.codePage = c.codePage;
        auto services = GtkServices::Start(system);
        ASSERT_NE(services, nullptr);
        RecordingEvents events;
        auto window = services->windowing().CreateMainWindow({"Q", "P", kCommandPrint}, events);
        TempDir dir;
        window->Navigate(
            dir.Write("page.html", std::string("<title>") + c.titleBytes + "</title><p>text</p>"));
        auto* view = static_cast<GtkMainWindow*>(window.get())->WebView();
        EXPECT_TRUE(PumpUntil([&] {
            const char* title = webkit_web_view_get_title(view);
            return title != nullptr && std::string(title) == c.titleUtf8;
        }));
    }
}

}  // namespace
}  // namespace quillmere::testing
