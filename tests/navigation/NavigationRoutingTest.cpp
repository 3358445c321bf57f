#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "navigation/NavigationRouting.h"
#include "records/SiteAddresses.h"
#include "support/FakePlatform.h"
#include "support/MemoryFiles.h"

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
    void OpenWithDefaultProgram(const std::string& url) override {
        calls.push_back("program " + url);
    }
    void ShowNotInBook() override { calls.push_back("not in book"); }
    std::vector<std::string> calls;
};

const TextRules kPosixRules{LeadBytes(), '/'};
const std::string kPrefix = LaunchLinkPrefix;
const std::string kHelpFile = "/home/reader/My Books/guide.HLP";
const std::string kWorkspace = "/tmp/qm-workspace/";

// The book's folder with the pages a route may lead to.
testing::MemoryFiles BookFiles(const std::string& workspace,
                               const std::vector<std::string>& names) {
    testing::MemoryFiles files;
    for (const std::string& name : names) files.files[workspace + name] = {};
    return files;
}

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
    testing::MemoryFiles files = BookFiles(kWorkspace, {"index.html", "page2.htm", "a b.html"});
    const BookPlace book{kWorkspace, c.helpFile, kPosixRules, files};
    // Whatever the flag held before, a routed navigation ends cancelled and any other is left
    // exactly as it was.
    for (bool before : {false, true}) {
        RecordingActions actions;
        bool cancel = before;
        RouteNavigation(c.url, cancel, actions, book);
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
        // Schemes the window does not show go to the reader's own programs.
        RouteCase{"mailto:reader@example.org?subject=Hi", true,
                  "program mailto:reader@example.org?subject=Hi"},
        RouteCase{"MAILTO:reader@example.org", true, "program MAILTO:reader@example.org"},
        RouteCase{"tel:+44-1632-960000", true, "program tel:+44-1632-960000"},
        RouteCase{"news:comp.lang.c", true, "program news:comp.lang.c"},
        RouteCase{"ms-help.v2://topic", true, "program ms-help.v2://topic"},
        // Local files that are not pages of the book: the viewer's own page instead.
        RouteCase{"file:///", true, "not in book"},
        RouteCase{"file:///tmp/qm-workspace/", true, "not in book"},
        RouteCase{"file:///tmp/qm-workspace", true, "not in book"},
        RouteCase{"file:///etc/passwd", true, "not in book"},
        RouteCase{"/etc/passwd", true, "not in book"},
        RouteCase{"file:///tmp/qm-workspace/FAQ.html", true, "not in book"},
        RouteCase{"file:///tmp/qm-workspace/../qm-workspace/index.html", true, "not in book"},
        RouteCase{"file:///tmp/qm-workspace/%2e%2e/qm-workspace/index.html", true, "not in book"},
        RouteCase{"file:///tmp/qm-workspace/sub%2Findex.html", true, "not in book"},
        RouteCase{"file:///tmp/qm-workspace/index.html%00.txt", true, "not in book"},
        RouteCase{"file:///tmp/qm-workspace-old/index.html", true, "not in book"},
        RouteCase{"file://elsewhere/tmp/qm-workspace/index.html", true, "not in book"},
        // Everything else is browsed inside the window.
        RouteCase{"HTTP://example.com/page.html", false, ""},
        RouteCase{"https://example.com/page.html", false, ""},
        RouteCase{"/tmp/qm-workspace/index.html", false, ""},
        RouteCase{"file:///tmp/qm-workspace/page2.htm", false, ""},
        RouteCase{"FILE://localhost/tmp/qm-workspace/index.html?x=1#part", false, ""},
        RouteCase{"file:///tmp/qm-workspace/a%20b.html#part2", false, ""},
        RouteCase{"about:blank", false, ""}, RouteCase{"data:text/html,hello", false, ""},
        RouteCase{"blob:file:///5e1c", false, ""}, RouteCase{"javascript:void(0)", false, ""},
        RouteCase{"", false, ""}));

TEST(RouteNavigation, NoLocalFileIsPartOfABookWithoutAFolder) {
    testing::MemoryFiles files = BookFiles("", {"/tmp/index.html"});
    const std::string noFolder;
    RecordingActions actions;
    bool cancel = false;
    RouteNavigation("file:///tmp/index.html", cancel, actions,
                    BookPlace{noFolder, kHelpFile, kPosixRules, files});
    EXPECT_TRUE(cancel);
    EXPECT_EQ(actions.calls, std::vector<std::string>{"not in book"});
}

TEST(RouteNavigation, WindowsPathsAndAddressesAreReadWithTheirDrivesAndShares) {
    const TextRules windows{LeadBytes(1252), '\\'};
    const std::string workspace = "C:\\Users\\Reader\\Temp\\vellumkit__1\\";
    testing::MemoryFiles files = BookFiles(workspace, {"index.html"});
    const BookPlace book{workspace, kHelpFile, windows, files, true};
    const struct {
        std::string url;
        bool inBook;
    } cases[] = {
        {"C:\\Users\\Reader\\Temp\\vellumkit__1\\index.html", true},
        {"file:///C:/Users/Reader/Temp/vellumkit__1/index.html", true},
        {"file:///c|/users/reader/temp/VELLUMKIT__1/index.html", false},  // no such file
        {"C:\\Users\\Reader\\Temp\\vellumkit__1\\", false},
        {"file:///C:/", false},
        {"D:\\index.html", false},
        {"\\\\server\\share\\index.html", false},
        {"file://server/Users/Reader/Temp/vellumkit__1/index.html", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        RecordingActions actions;
        bool cancel = false;
        RouteNavigation(c.url, cancel, actions, book);
        EXPECT_EQ(cancel, !c.inBook);
        EXPECT_EQ(actions.calls.empty(), c.inBook);
    }
}

TEST(RouteNavigation, FolderArgumentEndsAtTheLastSeparatorCharacterNotByte) {
    // In code page 932 the second byte of this character is a backslash.
    const TextRules windowsJapanese{LeadBytes(932), '\\'};
    const std::string helpFile =
        "C:\\Books\\\x95\x5C"
        "guide.HLP";
    RecordingActions actions;
    bool cancel = false;
    testing::MemoryFiles files;
    const std::string workspace = "C:\\Temp\\";
    RouteNavigation(kPrefix + "?sw=Hollowquay.exe", cancel, actions,
                    BookPlace{workspace, helpFile, windowsJapanese, files});
    EXPECT_TRUE(cancel);
    EXPECT_EQ(actions.calls,
              std::vector<std::string>{"launch Hollowquay.exe [QZXPATH=C:\\Books\\=QZXPATH]"});
}

}  // namespace
}  // namespace quillmere
