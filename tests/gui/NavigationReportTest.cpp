// The web view reports every way a page asks for a new address, and obeys the answer.
#include <gtest/gtest.h>

#include "gui/GuiHarness.h"

namespace quillmere::testing {
namespace {

constexpr const char* kStartPage = R"html(<html><head><title>Start</title></head><body>
<a id="link" href="blocked-link.html">link</a>
<a id="blank" href="blocked-blank.html" target="_blank">blank</a>
<form action="blocked-form.html" target="_blank" method="get">
  <input name="q" value="word"><input id="formgo" type="submit">
</form>
<button id="open" onclick="window.open('blocked-open.html')">open</button>
<a id="web" href="http://example.invalid/dir/page.html?x=1&amp;y=2">web</a>
<a id="blankOk" href="second.html" target="_blank">second</a>
<button id="openOk" onclick="window.open('second.html')">open second</button>
<button id="openEmpty" onclick="window.open()">open empty</button>
</body></html>)html";

class NavigationReportTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // A space in the name: the reported address is WebKit's, escapes and all.
        startPath = dir.Write("start page.html", kStartPage);
        dir.Write("second.html", "<html><head><title>Second</title></head><body>2</body></html>");
        base = FileUri(dir.path().string()) + "/";
        events.cancelIf = [](const std::string& url) {
            return url.find("blocked") != std::string::npos || url.rfind("http://", 0) == 0;
        };
        ASSERT_TRUE(Open(startPath, "Start"));
    }

    void Click(const std::string& id) {
        RunScript(gtk->WebView(), "document.getElementById('" + id + "').click(); 'done'");
    }

    // Lets anything the last action set going arrive before the test looks.
    void Settle() {
        RunScript(gtk->WebView(), "document.title");
        PumpFor(300ms);
    }

    int VisibleWindows() {
        int count = 0;
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w != nullptr; w = w->next) {
            if (gtk_widget_get_visible(GTK_WIDGET(w->data))) ++count;
        }
        g_list_free(windows);
        return count;
    }

    std::string startPath;
    std::string base;
};

TEST_F(NavigationReportTest, StartPageIsReportedAsWebKitAddressesIt) {
    ASSERT_FALSE(events.navigations.empty());
    EXPECT_EQ(events.navigations.front(),
              (RecordingEvents::Navigation{base + "start%20page.html", ""}));
    EXPECT_EQ(Uri(), base + "start%20page.html");
}

TEST_F(NavigationReportTest, EveryWayToANewAddressIsReportedAndCancellingKeepsThePage) {
    struct Case {
        const char* element;
        std::string url;
        const char* targetFrame;
    };
    const Case cases[] = {
        {"link", base + "blocked-link.html", ""},
        {"blank", base + "blocked-blank.html", "_blank"},
        {"formgo", base + "blocked-form.html?q=word", "_blank"},
        {"open", base + "blocked-open.html", "_blank"},
        {"web", "http://example.invalid/dir/page.html?x=1&y=2", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        events.navigations.clear();
        Click(c.element);
        ASSERT_TRUE(PumpUntil([&] { return events.Saw(c.url); }));
        Settle();
        EXPECT_EQ(events.navigations,
                  (std::vector<RecordingEvents::Navigation>{{c.url, c.targetFrame}}));
        EXPECT_EQ(Title(), "Start");
        EXPECT_EQ(Uri(), base + "start%20page.html");
    }
}

TEST_F(NavigationReportTest, NewWindowRequestLetThroughIsBrowsedInTheSameWindow) {
    for (const char* element : {"blankOk", "openOk"}) {
        SCOPED_TRACE(element);
        ASSERT_TRUE(Open(startPath, "Start"));
        events.navigations.clear();
        Click(element);
        ASSERT_TRUE(PumpUntil([&] { return Title() == "Second"; }));
        Settle();
        // Reported once, as the new-window request it was.
        EXPECT_EQ(events.navigations,
                  (std::vector<RecordingEvents::Navigation>{{base + "second.html", "_blank"}}));
        EXPECT_EQ(Uri(), base + "second.html");
        EXPECT_EQ(VisibleWindows(), 1);
    }
}

TEST_F(NavigationReportTest, EmptyNewWindowIsReportedButDoesNotBlankThePage) {
    events.navigations.clear();
    Click("openEmpty");
    ASSERT_TRUE(PumpUntil([&] { return !events.navigations.empty(); }));
    Settle();
    ASSERT_EQ(events.navigations.size(), 1u);
    EXPECT_EQ(events.navigations[0].targetFrame, "_blank");
    EXPECT_EQ(Title(), "Start");
    EXPECT_EQ(VisibleWindows(), 1);
}

}  // namespace
}  // namespace quillmere::testing
