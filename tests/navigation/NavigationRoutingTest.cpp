#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "navigation/NavigationRouting.h"
#include "records/SiteAddresses.h"

namespace quillmere {
namespace {

// Each action the routing asks for, as one line of text.
class RecordingActions : public NavigationActions {
  public:
    void LaunchPackagedProgram(const std::string& name, const std::string& argument) override {
        calls.push_back("launch " + name + " [" + argument + "]");
    }
    void StartLinkedProgram(const std::string& url) override { calls.push_back("start " + url); }
    void HandOffToBrowser(const std::string& url) override { calls.push_back("browser " + url); }
    std::vector<std::string> calls;
};

const TextRules kPosixRules{LeadBytes(), '/'};
const std::string kPrefix = LaunchLinkPrefix;
const std::string kHelpFile = "/home/reader/My Books/guide.HLP";

struct RouteCase {
    std::string url;
    bool cancelled;
    std::string call;  // empty: nothing is called
    std::string helpFile = kHelpFile;
};

void PrintTo(const RouteCase& c, std::ostream* out) { *out << '"' << c.url << '"'; }

class RouteTable : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteTable, DecidesCancelAndAction) {
    const RouteCase& c = GetParam();
    // Whatever the flag held before, a routed navigation ends cancelled and any other is left
    // exactly as it was.
    for (bool before : {false, true}) {
        RecordingActions actions;
        bool cancel = before;
        RouteNavigation(c.url, cancel, actions, c.helpFile, kPosixRules);
        EXPECT_EQ(cancel, c.cancelled || before) << "flag before: " << before;
        std::vector<std::string> expected;
        if (!c.call.empty()) expected.push_back(c.call);
        EXPECT_EQ(actions.calls, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Urls, RouteTable,
    ::testing::Values(
        // Packaged-program links.
        RouteCase{kPrefix + "?sw=Tool.exe", true, "launch Tool.exe []"},
        RouteCase{kPrefix + "?sw=Tool.EXE", true, "launch Tool.EXE []"},
        RouteCase{kPrefix + "?sw=Hollowquay.exe", true,
                  "launch Hollowquay.exe [QZXPATH=/home/reader/My Books/=QZXPATH]"},
        RouteCase{kPrefix + "?sw=Hollowquay.exe", true, "launch Hollowquay.exe [QZXPATH==QZXPATH]",
                  "guide.HLP"},
        RouteCase{kPrefix + "?sw=hollowquay.exe", true, "launch hollowquay.exe []"},
        RouteCase{kPrefix + "?lang=en&sw=Tool.exe", true, "launch Tool.exe []"},
        RouteCase{kPrefix + "?sw=readme.txt", true, ""}, RouteCase{kPrefix + "?sw=", true, ""},
        RouteCase{kPrefix, true, ""},
        // The prefix must be the whole text before the query, in its own letter case.
        RouteCase{kPrefix + "index.html?sw=Tool.exe", true,
                  "start " + kPrefix + "index.html?sw=Tool.exe"},
        RouteCase{kPrefix + "index.html?sw=readme.txt", true,
                  "browser " + kPrefix + "index.html?sw=readme.txt"},
        RouteCase{"HTTP://LAUNCH.CORVANE-CLUB.NET/?sw=readme.txt", false, ""},
        // Links to programs, whatever the scheme, before any web link.
        RouteCase{"http://example.com/files/setup.exe", true,
                  "start http://example.com/files/setup.exe"},
        RouteCase{"http://example.com/get?file=file.exe", true,
                  "start http://example.com/get?file=file.exe"},
        RouteCase{"https://example.com/SETUP.EXE", true, "start https://example.com/SETUP.EXE"},
        RouteCase{"/tmp/ws/Setup.Exe", true, "start /tmp/ws/Setup.Exe"},
        // Web links go to the default browser, posted forms included (only the address goes).
        RouteCase{"http://example.com/page.html", true, "browser http://example.com/page.html"},
        RouteCase{UpdateFormAddress, true, std::string("browser ") + UpdateFormAddress},
        RouteCase{"http://example.com/a.exe.html", true, "browser http://example.com/a.exe.html"},
        // Everything else is browsed inside the window.
        RouteCase{"HTTP://example.com/page.html", false, ""},
        RouteCase{"https://example.com/page.html", false, ""},
        RouteCase{"/tmp/qm-workspace/index.html", false, ""},
        RouteCase{"file:///tmp/qm-workspace/page2.htm", false, ""},
        RouteCase{"about:blank", false, ""}, RouteCase{"", false, ""}));

TEST(RouteNavigation, FolderArgumentEndsAtTheLastSeparatorCharacterNotByte) {
    // In code page 932 the second byte of this character is a backslash.
    const TextRules windowsJapanese{LeadBytes(932), '\\'};
    const std::string helpFile =
        "C:\\Books\\\x95\x5C"
        "guide.HLP";
    RecordingActions actions;
    bool cancel = false;
    RouteNavigation(kPrefix + "?sw=Hollowquay.exe", cancel, actions, helpFile, windowsJapanese);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(actions.calls,
              std::vector<std::string>{"launch Hollowquay.exe [QZXPATH=C:\\Books\\=QZXPATH]"});
}

}  // namespace
}  // namespace quillmere
