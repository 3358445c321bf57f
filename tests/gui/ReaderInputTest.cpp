// What the reader can do in the window besides following links: the viewer's own context menu,
// the mouse's side buttons, the print key and the zoom.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "gui/GuiHarness.h"

namespace quillmere::testing {
namespace {

// A page that reports its width in CSS pixels through a web address whenever it changes: what the
// zoom does to the page, seen without reading pixels.
constexpr const char* kWidthPage = R"html(<html><head><title>Width</title><script>
function report() { location.href = 'http://width.invalid/' + window.innerWidth; }
window.addEventListener('resize', report);
</script></head><body style="margin:0"><p id="text">Sow thinly in spring.</p>
<div style="height:2000px"></div></body></html>)html";

constexpr const char* kWidthProbe = "http://width.invalid/";

class ReaderInputTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        events.cancelIf = [](const std::string& url) { return url.rfind("http://", 0) == 0; };
        ASSERT_TRUE(Open(dir.Write("page.html", kWidthPage), "Width"));
        ASSERT_TRUE(RunTool({"xdotool", "windowfocus", "--sync", WindowId(gtk->Window())}));
    }

    void PressKeys(const std::vector<std::string>& keys) {
        std::vector<std::string> argv = {"xdotool", "windowfocus", "--sync",
                                         WindowId(gtk->Window()), "key"};
        argv.insert(argv.end(), keys.begin(), keys.end());
        ASSERT_TRUE(RunTool(argv));
    }

    // Mouse buttons pressed over the middle of the page.
    void ClickPage(const std::vector<std::string>& buttons, const std::string& modifier = "") {
        int x = 0;
        int y = 0;
        ScreenCentre(GTK_WIDGET(gtk->WebView()), x, y);
        std::vector<std::string> argv = {"xdotool", "mousemove", "--sync", std::to_string(x),
                                         std::to_string(y)};
        if (!modifier.empty()) argv.insert(argv.end(), {"keydown", modifier});
        for (const auto& button : buttons) argv.insert(argv.end(), {"click", button});
        if (!modifier.empty()) argv.insert(argv.end(), {"keyup", modifier});
        ASSERT_TRUE(RunTool(argv));
    }

    bool WaitForCommands(std::size_t count) {
        return PumpUntil([&] { return events.commands.size() >= count; }, 10s);
    }

    // The latest width the page reported; 0 before any.
    int ReportedWidth() const {
        for (auto n = events.navigations.rbegin(); n != events.navigations.rend(); ++n) {
            if (n->url.rfind(kWidthProbe, 0) == 0) {
                return std::atoi(n->url.c_str() + std::string(kWidthProbe).size());
            }
        }
        return 0;
    }

    // The visible context menu WebKit made for the view, if any.
    GtkMenu* ShownContextMenu() const {
        GtkMenu* shown = nullptr;
        GList* menus = gtk_menu_get_for_attach_widget(GTK_WIDGET(gtk->WebView()));
        for (GList* m = menus; m != nullptr; m = m->next) {
            if (gtk_widget_get_mapped(GTK_WIDGET(m->data))) shown = GTK_MENU(m->data);
        }
        return shown;
    }

    static std::vector<GtkMenuItem*> ItemsOf(GtkMenu* menu) {
        std::vector<GtkMenuItem*> items;
        GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
        for (GList* c = children; c != nullptr; c = c->next) {
            if (GTK_IS_MENU_ITEM(c->data) && !GTK_IS_SEPARATOR_MENU_ITEM(c->data)) {
                items.push_back(GTK_MENU_ITEM(c->data));
            }
        }
        g_list_free(children);
        return items;
    }

    static std::vector<std::string> LabelsOf(GtkMenu* menu) {
        std::vector<std::string> labels;
        for (GtkMenuItem* item : ItemsOf(menu)) {
            const char* label = gtk_menu_item_get_label(item);
            labels.push_back(label ? label : "");
        }
        return labels;
    }

    // Opens the context menu over the page and clicks the item of that label, as a reader does.
    void ChooseFromContextMenu(const std::string& label, const std::string& screenshot = "") {
        ClickPage({"3"});
        GtkMenu* menu = nullptr;
        ASSERT_TRUE(PumpUntil([&] { return (menu = ShownContextMenu()) != nullptr; }, 10s));
        PumpFor(300ms);
        if (!screenshot.empty()) MaybeScreenshot(screenshot);
        for (GtkMenuItem* item : ItemsOf(menu)) {
            const char* text = gtk_menu_item_get_label(item);
            if (text == nullptr || label != text) continue;
            int x = 0;
            int y = 0;
            ScreenCentre(GTK_WIDGET(item), x, y);
            ASSERT_TRUE(RunTool({"xdotool", "mousemove", "--sync", std::to_string(x),
                                 std::to_string(y), "click", "1"}));
            ASSERT_TRUE(PumpUntil([&] { return ShownContextMenu() == nullptr; }, 10s));
            return;
        }
        FAIL() << "no item " << label;
    }

    // The page's width in CSS pixels, asked directly.
    int PageWidth() const {
        return std::atoi(RunScript(gtk->WebView(), "String(window.innerWidth)").c_str());
    }

    static std::string ClipboardText() {
        gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
        std::string out = text ? text : "";
        g_free(text);
        return out;
    }
};

TEST_F(ReaderInputTest, ContextMenuIsTheViewersOwnAndEachItemWorks) {
    ClickPage({"3"});
    GtkMenu* menu = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (menu = ShownContextMenu()) != nullptr; }, 10s));
    EXPECT_EQ(LabelsOf(menu), (std::vector<std::string>{"Back", "Forward", "Copy", "Select All",
                                                        "Print Instructions"}));
    gtk_menu_shell_cancel(GTK_MENU_SHELL(menu));
    ASSERT_TRUE(PumpUntil([&] { return ShownContextMenu() == nullptr; }, 10s));

    ChooseFromContextMenu("Select All");
    EXPECT_EQ(RunScript(gtk->WebView(), "String(window.getSelection())").find("Sow thinly"), 0u);
    ChooseFromContextMenu("Copy", "context-menu");
    // The page hands the text over on its own time.
    EXPECT_TRUE(PumpUntil(
        [&] { return ClipboardText().find("Sow thinly in spring.") != std::string::npos; }, 10s))
        << ClipboardText();

    events.commands.clear();
    ChooseFromContextMenu("Print Instructions");
    ASSERT_TRUE(WaitForCommands(1));
    EXPECT_EQ(events.commands, std::vector<int>{kCommandPrint});
}

TEST_F(ReaderInputTest, BackAndForwardInTheMenuFollowTheHistory) {
    ASSERT_TRUE(Open(dir.Write("second.html", "<title>Second</title>second"), "Second"));
    events.commands.clear();
    ChooseFromContextMenu("Back");
    ASSERT_TRUE(WaitForCommands(1));
    window->GoBack();
    ASSERT_TRUE(PumpUntil([&] { return Title() == "Width"; }));
    ChooseFromContextMenu("Forward");
    ASSERT_TRUE(WaitForCommands(2));
    EXPECT_EQ(events.commands, (std::vector<int>{kCommandBack, kCommandForward}));
}

TEST_F(ReaderInputTest, SideMouseButtonsAndThePrintKeySendTheirCommands) {
    events.commands.clear();
    ClickPage({"8", "9"});
    PressKeys({"ctrl+p"});
    ASSERT_TRUE(WaitForCommands(3));
    EXPECT_EQ(events.commands, (std::vector<int>{kCommandBack, kCommandForward, kCommandPrint}));
    // The page keeps its place: the buttons did nothing else.
    EXPECT_EQ(Title(), "Width");
}

TEST_F(ReaderInputTest, ZoomKeysAndTheWheelWithCtrlSendZoomCommands) {
    events.commands.clear();
    PressKeys(
        {"ctrl+plus", "ctrl+equal", "ctrl+minus", "ctrl+0", "ctrl+KP_Add", "ctrl+KP_Subtract"});
    ClickPage({"4"}, "ctrl");  // the wheel up
    ClickPage({"5"}, "ctrl");  // and down
    ASSERT_TRUE(WaitForCommands(8));
    EXPECT_EQ(events.commands,
              (std::vector<int>{kCommandZoomIn, kCommandZoomIn, kCommandZoomOut, kCommandZoomReset,
                                kCommandZoomIn, kCommandZoomOut, kCommandZoomIn, kCommandZoomOut}));
}

TEST_F(ReaderInputTest, ZoomShowsThePageLargerAndStaysForTheNextPage) {
    const int normal = PageWidth();
    ASSERT_GT(normal, 0);
    window->SetZoom(200);
    ASSERT_TRUE(PumpUntil([&] { return ReportedWidth() != 0; }, 10s)) << "no width reported";
    EXPECT_NEAR(ReportedWidth(), normal / 2, 2);

    ASSERT_TRUE(Open(dir.Write("other.html", "<title>Other</title>other"), "Other"));
    EXPECT_NEAR(PageWidth(), normal / 2, 2);
    window->SetZoom(100);
    EXPECT_TRUE(PumpUntil([&] { return PageWidth() == normal; }, 10s));
}

TEST_F(ReaderInputTest, FindBarCountsMatchesInAnyCaseWrapsAndTakesNoRoomWhenClosed) {
    ASSERT_TRUE(Open(dir.Write("find.html",
                               "<title>Find</title><p><span id='m1'>Garden</span> tools, "
                               "<span id='m2'>garden</span> seeds, <span id='m3'>GARDEN</span> "
                               "gloves.</p>"),
                     "Find"));
    FindBar& find = gtk->Find();
    const int pageHeight = gtk_widget_get_allocated_height(GTK_WIDGET(gtk->WebView()));
    EXPECT_FALSE(gtk_widget_get_visible(find.Widget()));

    PressKeys({"ctrl+f"});
    ASSERT_TRUE(PumpUntil([&] { return find.IsOpen() && gtk_widget_has_focus(find.Entry()); }));
    ASSERT_TRUE(RunTool({"xdotool", "type", "--delay", "50", "garden"}));
    const auto label = [&] {
        return std::string(gtk_label_get_text(GTK_LABEL(find.CountLabel())));
    };
    // Which match the page has selected.
    const auto selected = [&] {
        return RunScript(gtk->WebView(),
                         "var s = window.getSelection(); s.rangeCount ? "
                         "s.getRangeAt(0).startContainer.parentNode.id : ''");
    };
    ASSERT_TRUE(PumpUntil([&] { return label() == "1 of 3"; }, 10s)) << label();
    MaybeScreenshot("find-bar");
    const struct {
        std::vector<std::string> keys;
        const char* label;
        const char* match;
    } steps[] = {
        {{"Return"}, "2 of 3", "m2"},   {{"F3"}, "3 of 3", "m3"},
        {{"Return"}, "1 of 3", "m1"},   {{"shift+Return"}, "3 of 3", "m3"},
        {{"shift+F3"}, "2 of 3", "m2"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.keys[0]);
        PressKeys(step.keys);
        EXPECT_TRUE(PumpUntil([&] { return label() == step.label; }, 10s)) << label();
        EXPECT_TRUE(PumpUntil([&] { return selected() == step.match; }, 10s)) << selected();
    }

    PressKeys({"Escape"});
    ASSERT_TRUE(PumpUntil([&] { return !find.IsOpen(); }));
    EXPECT_TRUE(PumpUntil([&] { return gtk_widget_has_focus(GTK_WIDGET(gtk->WebView())); }));
    EXPECT_TRUE(PumpUntil(
        [&] { return gtk_widget_get_allocated_height(GTK_WIDGET(gtk->WebView())) == pageHeight; }));
}

}  // namespace
}  // namespace quillmere::testing
