// Whole books run as their own processes on the test display: the terms box, the start page, the
// print command, page, program and web links, and closing while a started program still runs.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gui/GuiHarness.h"
#include "records/SiteAddresses.h"
#include "support/BookBuilder.h"

// Last: the X headers define names that the test framework uses.
#include <gdk/gdkx.h>  // NOLINT(llvm-include-order)

extern char** environ;

// A shell script loses its argument 0 on the way through the kernel, so the packaged program that
// reports its arguments is a copy of this test program: started with this variable set, it writes
// them, one a line, to the named file and leaves before any test runs.
__attribute__((constructor)) static void ReportArgumentsWhenStartedAsAProgram(int argc, char** argv,
                                                                              char**) {
    const char* file = std::getenv("QUILLMERE_TEST_ARGUMENTS_FILE");
    if (file == nullptr) return;
    // Written aside and renamed, so that a reader never sees half of it.
    const std::string part = std::string(file) + ".part";
    if (FILE* out = std::fopen(part.c_str(), "w")) {
        for (int i = 0; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
        std::fclose(out);
        std::rename(part.c_str(), file);
    }
    std::_Exit(0);
}

namespace quillmere::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// A file's bytes, or nothing while it does not exist.
std::string ReadIfPresent(const std::string& path) {
    return std::filesystem::exists(path) ? ReadFileBytes(path) : "";
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit = 90s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(200ms);
    }
    return true;
}

// A green page that is one big link: a click anywhere in the window follows it.
std::string LinkPage(const std::string& text, const std::string& href,
                     const std::string& attributes = "") {
    return "<html><body style=\"margin:0;background:#00ff00\"><a href=\"" + href + "\" " +
           attributes + " style=\"display:block;width:100vw;height:100vh\">" + text +
           "</a></body></html>";
}

// A green page whose every click runs a script.
std::string ScriptPage(const std::string& onClick) {
    return "<html><body style=\"margin:0;background:#00ff00\"><div onclick=\"" + onClick +
           "\" style=\"width:100vw;height:100vh\">script</div></body></html>";
}

// A book running as its own process with a private registry and temporary folder.
class BookRun {
  public:
    BookRun(const std::string& book, const TempDir& dir, std::vector<std::string> extraEnv = {}) {
        std::vector<std::string> env = {"XDG_CONFIG_HOME=" + dir.File("config"),
                                        "TMPDIR=" + dir.File("tmp")};
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("XDG_CONFIG_HOME=", 0) != 0 && entry.rfind("TMPDIR=", 0) != 0) {
                env.push_back(entry);
            }
        }
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string path = book;
        char* argv[] = {path.data(), nullptr};
        if (posix_spawn(&pid_, book.c_str(), nullptr, nullptr, argv, envp.data()) != 0) pid_ = -1;
    }
    ~BookRun() {
        if (pid_ > 0 && !exitCode_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    bool Signal(int signal) { return pid_ > 0 && ::kill(pid_, signal) == 0; }

    bool Running() {
        Poll();
        return pid_ > 0 && !exitCode_;
    }
    std::optional<int> WaitForExit(std::chrono::seconds limit = 90s) {
        WaitUntil([&] { return !Running(); }, limit);
        return exitCode_;
    }

  private:
    void Poll() {
        if (pid_ <= 0 || exitCode_) return;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
    }

    pid_t pid_ = -1;
    std::optional<int> exitCode_;
};

std::vector<std::string> WindowsNamed(const std::string& title) {
    const auto out = RunTool({"xdotool", "search", "--onlyvisible", "--name", "^" + title + "$"});
    std::vector<std::string> ids;
    std::string line;
    for (std::istringstream lines(out.value_or("")); std::getline(lines, line);) {
        if (!line.empty()) ids.push_back(line);
    }
    return ids;
}

int WindowWidth(const std::string& id) {
    const auto out = RunTool({"xdotool", "getwindowgeometry", "--shell", id});
    const auto at = out ? out->find("WIDTH=") : std::string::npos;
    return at == std::string::npos ? 0 : std::atoi(out->c_str() + at + 6);
}

// The book's main window: the one window of its title wider than a message box.
std::string MainWindowOf(const std::string& title) {
    for (const auto& id : WindowsNamed(title)) {
        if (WindowWidth(id) > 1000) return id;
    }
    return "";
}

// The screen's colour at a point, as ImageMagick names it ("lime", "srgb(1,2,3)", ...).
bool ScreenShowsAt(int x, int y, const std::string& name, const std::string& rgb) {
    const auto out = RunTool({"sh", "-c",
                              "import -window root png:- | convert png:- -format '%[pixel:p{" +
                                  std::to_string(x) + "," + std::to_string(y) + "}]' info:"});
    return out && (*out == name || out->find(rgb) != std::string::npos);
}

bool ScreenIsGreenAt(int x, int y) { return ScreenShowsAt(x, y, "lime", "(0,255,0)"); }
bool ScreenIsBlueAt(int x, int y) { return ScreenShowsAt(x, y, "blue", "(0,0,255)"); }

// What the window manager would send when the reader closes the window; there is none here.
bool AskToClose(const std::string& id) {
    using InternAtom = unsigned long (*)(Display*, const char*, int);
    using SendEvent = int (*)(Display*, unsigned long, int, long, XEvent*);
    using Flush = int (*)(Display*);
    auto internAtom = reinterpret_cast<InternAtom>(dlsym(RTLD_DEFAULT, "XInternAtom"));
    auto sendEvent = reinterpret_cast<SendEvent>(dlsym(RTLD_DEFAULT, "XSendEvent"));
    auto flush = reinterpret_cast<Flush>(dlsym(RTLD_DEFAULT, "XFlush"));
    if (!internAtom || !sendEvent || !flush) return false;
    Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(id);
    event.xclient.message_type = internAtom(display, "WM_PROTOCOLS", 0);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(internAtom(display, "WM_DELETE_WINDOW", 0));
    event.xclient.data.l[1] = 0;  // CurrentTime
    const int sent = sendEvent(display, event.xclient.window, 0, 0, &event);
    flush(display);
    return sent != 0;
}

bool Click(const std::string& id, int x, int y) {
    return RunTool({"xdotool", "mousemove", "--window", id, std::to_string(x), std::to_string(y),
                    "click", "1"})
        .has_value();
}

using PackagedPages = std::vector<std::pair<std::string, std::string>>;

class AppEndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (SharedServices() == nullptr) GTEST_SKIP() << "no display";
        std::filesystem::create_directories(dir.File("config") + "/tallowbrook");
        std::filesystem::create_directories(dir.File("tmp"));
    }

    std::string Build(const std::string& title, PackagedPages files) {
        BookSpec recipe;
        recipe.outPath = dir.File("book");
        recipe.title = title;
        recipe.files = std::move(files);
        return BuildBook(recipe);
    }

    void AcceptTerms(const std::string& title) {
        std::ofstream(dir.File("config") + "/tallowbrook/registry.reg")
            << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\"
               "Tallowbrook\\"
            << title << "\\LU]\r\n\"Terms\"=dword:00000001\r\n";
    }

    bool TempFolderEmpty() { return std::filesystem::is_empty(dir.File("tmp")); }

    // A stand-in browser, made the default for HTML pages: keeps a copy, at BrowserCopy(), of
    // what it is given. Returns the environment a book needs to find it.
    std::vector<std::string> UseStandInBrowser() {
        const std::string browser =
            dir.Write("browser", "#!/bin/sh\ncp \"$1\" '" + BrowserCopy() + "'\n");
        std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
        std::filesystem::create_directories(dir.File("data") + "/applications");
        std::ofstream(dir.File("data") + "/applications/standin-browser.desktop")
            << "[Desktop Entry]\nType=Application\nName=Stand-in browser\nExec=" << browser
            << " %f\nMimeType=text/html;\n";
        std::ofstream(dir.File("config") + "/mimeapps.list")
            << "[Default Applications]\ntext/html=standin-browser.desktop\n";
        return {"XDG_DATA_HOME=" + dir.File("data")};
    }
    std::string BrowserCopy() const { return dir.File("opened"); }

    // The terms box: the book's only window, and narrower than its main window.
    static std::string WaitForTermsBox(const std::string& title) {
        std::string box;
        WaitUntil([&] {
            const auto ids = WindowsNamed(title);
            if (ids.size() == 1 && WindowWidth(ids[0]) < 1000) box = ids[0];
            return !box.empty();
        });
        return box;
    }

    // The main window once its green start page shows; empty if it never does.
    static std::string WaitForStartPage(const std::string& title) {
        std::string window;
        if (!WaitUntil([&] { return !(window = MainWindowOf(title)).empty(); })) return "";
        return WaitUntil([&] { return ScreenIsGreenAt(640, 600); }) ? window : "";
    }

    TempDir dir;
};

TEST_F(AppEndToEndTest, TermsBoxComesFirstThenTheStartPageShowsMaximised) {
    const std::string book = Build("Green Pages", {{"index.html", LinkPage("start", "b.html")}});
    BookRun run(book, dir);

    const std::string box = WaitForTermsBox("Green Pages");
    ASSERT_NE(box, "") << "no terms box";
    EXPECT_EQ(MainWindowOf("Green Pages"), "") << "the window opened before the terms box";
    ASSERT_TRUE(RunTool({"xdotool", "windowfocus", "--sync", box, "key", "alt+y"}));

    std::string window;
    ASSERT_TRUE(WaitUntil([&] { return !(window = MainWindowOf("Green Pages")).empty(); }));
    EXPECT_TRUE(WaitUntil([&] { return ScreenIsGreenAt(640, 600); })) << "start page not shown";
    MaybeScreenshot("app-start-page");
    EXPECT_THAT(ReadFileBytes(dir.File("config") + "/tallowbrook/registry.reg"),
                HasSubstr("\"Terms\"=dword:00000001"));

    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(AppEndToEndTest, PrintInstructionsPrintsThePageWithoutHeaderOrFooter) {
    const std::string book =
        Build("Print Me", {{"index.html", LinkPage("Sow thinly in spring", "b.html")}});
    AcceptTerms("Print Me");
    const std::string pdf = dir.File("printed.pdf");
    BookRun run(book, dir, {"QUILLMERE_PRINT_TO_FILE=" + pdf});

    std::string window;
    ASSERT_TRUE(WaitUntil([&] { return !(window = MainWindowOf("Print Me")).empty(); }));
    ASSERT_TRUE(WaitUntil([&] { return ScreenIsGreenAt(640, 600); }));
    ASSERT_TRUE(Click(window, 40, 10));  // "Print Instructions", first on the menu bar

    std::optional<std::string> text;
    ASSERT_TRUE(WaitUntil([&] {
        return std::filesystem::exists(pdf) &&
               (text = RunTool({"pdftotext", "-layout", pdf, "-"})) &&
               text->find("Sow thinly") != std::string::npos;
    }));
    EXPECT_THAT(*text, Not(HasSubstr("file:")));
    EXPECT_THAT(*text, Not(HasSubstr("index.html")));
    EXPECT_THAT(*text, Not(HasSubstr("Print Me")));
    EXPECT_THAT(*text, Not(HasSubstr("1/1")));

    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(AppEndToEndTest, ClosingWhileAStartedProgramRunsWaitsForIt) {
    const std::string started = dir.File("started");
    const std::string marker = dir.File("marker");
    // Says it started, then, a while later, whether the viewer's folder was still there.
    const std::string script = "#!/bin/sh\necho started > '" + started + "'\nsleep 8\nif ls \"" +
                               dir.File("tmp") + "\" | grep -q vellumkit__; then echo present; " +
                               "else echo gone; fi > '" + marker + "'\n";
    const std::string book =
        Build("Busy Book",
              {{"index.html", LinkPage("run", std::string(LaunchLinkPrefix) + "?sw=Slow.exe")},
               {"Slow.exe", script}});
    AcceptTerms("Busy Book");
    BookRun run(book, dir);

    std::string window;
    ASSERT_TRUE(WaitUntil([&] { return !(window = MainWindowOf("Busy Book")).empty(); }));
    ASSERT_TRUE(WaitUntil([&] { return ScreenIsGreenAt(640, 600); }));
    ASSERT_TRUE(Click(window, 640, 600));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(started); }, 30s))
        << "the packaged program did not start";

    ASSERT_TRUE(AskToClose(window));
    EXPECT_TRUE(WaitUntil([&] { return WindowsNamed("Busy Book").empty(); }, 30s));
    EXPECT_TRUE(run.Running()) << "the viewer ended before its program";

    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_EQ(ReadFileBytes(marker), "present\n");
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(AppEndToEndTest, WebLinkOpensInTheDefaultBrowserThroughTheRedirectPage) {
    const std::string book =
        Build("Web Book", {{"index.html", LinkPage("web", "http://example.org/garden")}});
    AcceptTerms("Web Book");
    BookRun run(book, dir, UseStandInBrowser());
    const std::string opened = BrowserCopy();

    std::string window;
    ASSERT_TRUE(WaitUntil([&] { return !(window = MainWindowOf("Web Book")).empty(); }));
    ASSERT_TRUE(WaitUntil([&] { return ScreenIsGreenAt(640, 600); }));
    ASSERT_TRUE(Click(window, 640, 600));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(opened); }, 60s))
        << "the default browser was not started";
    EXPECT_TRUE(WaitUntil(
        [&] {
            return ReadFileBytes(opened).find("http://example.org/garden") != std::string::npos;
        },
        10s));
    EXPECT_TRUE(std::filesystem::exists(dir.File("tmp") + "/temp_webtool_help.html"));
    EXPECT_TRUE(ScreenIsGreenAt(640, 600)) << "the window left its page";

    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_TRUE(TempFolderEmpty()) << "the redirect page outlived the window";
}

TEST_F(AppEndToEndTest, AcceptedTermsAreNotAskedForOnTheNextStart) {
    const std::string book = Build("Kept Terms", {{"index.html", LinkPage("start", "b.html")}});
    {
        BookRun first(book, dir);
        const std::string box = WaitForTermsBox("Kept Terms");
        ASSERT_NE(box, "") << "no terms box";
        ASSERT_TRUE(RunTool({"xdotool", "windowfocus", "--sync", box, "key", "alt+y"}));
        const std::string window = WaitForStartPage("Kept Terms");
        ASSERT_NE(window, "");
        ASSERT_TRUE(AskToClose(window));
        ASSERT_EQ(first.WaitForExit(), 0);
    }

    BookRun second(book, dir);
    bool sawBox = false;
    std::string window;
    ASSERT_TRUE(WaitUntil([&] {
        for (const auto& id : WindowsNamed("Kept Terms")) {
            if (WindowWidth(id) < 1000) sawBox = true;
        }
        return !(window = MainWindowOf("Kept Terms")).empty();
    })) << "the main window did not come";
    EXPECT_FALSE(sawBox) << "the terms box came again";
    EXPECT_TRUE(WaitUntil([&] { return ScreenIsGreenAt(640, 600); }));

    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(AppEndToEndTest, DecliningTheTermsEndsWithExitCodeOneAndWritesNothing) {
    const std::string book = Build("Declined", {{"index.html", LinkPage("start", "b.html")}});
    BookRun run(book, dir);

    const std::string box = WaitForTermsBox("Declined");
    ASSERT_NE(box, "") << "no terms box";
    ASSERT_TRUE(RunTool({"xdotool", "windowfocus", "--sync", box, "key", "alt+n"}));

    EXPECT_EQ(run.WaitForExit(30s), 1);
    EXPECT_TRUE(TempFolderEmpty()) << "a folder was made for a book that never opened";
    EXPECT_THAT(ReadIfPresent(dir.File("config") + "/tallowbrook/registry.reg"),
                Not(HasSubstr("\"Terms\"=dword:00000001")));
}

TEST_F(AppEndToEndTest, PageLinkIsBrowsedInsideTheWindowUnderTheBooksTitle) {
    const std::string book =
        Build("Two Pages", {{"index.html", LinkPage("next", "second.html")},
                            {"second.html",
                             "<html><head><title>Second Page</title></head>"
                             "<body style=\"margin:0;background:#0000ff\">second</body></html>"}});
    AcceptTerms("Two Pages");
    BookRun run(book, dir);

    const std::string window = WaitForStartPage("Two Pages");
    ASSERT_NE(window, "");
    ASSERT_TRUE(Click(window, 640, 600));
    EXPECT_TRUE(WaitUntil([&] { return ScreenIsBlueAt(640, 600); }, 30s))
        << "the second page is not shown";
    EXPECT_EQ(MainWindowOf("Two Pages"), window);
    EXPECT_THAT(WindowsNamed("Second Page"), ::testing::IsEmpty());

    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(AppEndToEndTest, PackagedProgramLinkStartsTheProgramUnderItsLowerCaseName) {
    const std::string arguments = dir.File("arguments");
    const std::string book =
        Build("Tool Book",
              {{"index.html", LinkPage("run", std::string(LaunchLinkPrefix) + "?sw=Tool.exe")},
               {"Tool.exe", ReadFileBytes(std::filesystem::read_symlink("/proc/self/exe"))}});
    AcceptTerms("Tool Book");
    BookRun run(book, dir, {"QUILLMERE_TEST_ARGUMENTS_FILE=" + arguments});

    const std::string window = WaitForStartPage("Tool Book");
    ASSERT_NE(window, "");
    ASSERT_TRUE(Click(window, 640, 600));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(arguments); }, 60s))
        << "the packaged program did not start";
    EXPECT_EQ(ReadFileBytes(arguments), "tool.exe\n");
    EXPECT_TRUE(ScreenIsGreenAt(640, 600)) << "the window left its page";

    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(AppEndToEndTest, ZoomChosenWithTheKeysIsKeptForTheNextRunOfTheBook) {
    // The page tells the default browser its width in CSS pixels when it loads and whenever the
    // width changes: what the zoom does to it, seen without reading pixels.
    const std::string page =
        "<html><head><script>function report() { location.href = 'http://width.invalid/' + "
        "window.innerWidth; } addEventListener('load', report); addEventListener('resize', "
        "report);</script></head><body style=\"margin:0;background:#00ff00\">zoom</body></html>";
    const std::string book = Build("Zoom Book", {{"index.html", page}});
    AcceptTerms("Zoom Book");
    const std::vector<std::string> env = UseStandInBrowser();
    const auto reportedWidth = [&] {
        const std::string copy = ReadIfPresent(BrowserCopy());
        const auto at = copy.find("http://width.invalid/");
        return at == std::string::npos ? 0 : std::atoi(copy.c_str() + at + 21);
    };
    // The width once the window has settled at its size.
    const auto settledWidth = [&] {
        int width = 0;
        WaitUntil([&] {
            const int before = reportedWidth();
            std::this_thread::sleep_for(1500ms);
            width = reportedWidth();
            return width > 0 && width == before;
        });
        return width;
    };

    int normal = 0;
    {
        BookRun first(book, dir, env);
        const std::string window = WaitForStartPage("Zoom Book");
        ASSERT_NE(window, "");
        normal = settledWidth();
        ASSERT_GT(normal, 0) << "the page reported no width";
        ASSERT_TRUE(
            RunTool({"xdotool", "windowfocus", "--sync", window, "key", "ctrl+plus", "ctrl+plus"}));
        EXPECT_TRUE(
            WaitUntil([&] { return std::abs(reportedWidth() - normal * 100 / 125) <= 2; }, 30s))
            << "at 125 %: " << reportedWidth() << " of " << normal;
        EXPECT_THAT(ReadFileBytes(dir.File("config") + "/tallowbrook/registry.reg"),
                    HasSubstr("\"Zoom\"=dword:0000007d"));
        ASSERT_TRUE(AskToClose(window));
        ASSERT_EQ(first.WaitForExit(), 0);
    }

    std::filesystem::remove(BrowserCopy());
    BookRun second(book, dir, env);
    const std::string window = WaitForStartPage("Zoom Book");
    ASSERT_NE(window, "");
    EXPECT_NEAR(settledWidth(), normal * 100 / 125, 2);
    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_TRUE(TempFolderEmpty());
}

// A stop signal at any point of the viewer's life ends in the clean-up.
TEST_F(AppEndToEndTest, StopSignalWhileTheWindowIsOpenRemovesTheWorkspace) {
    const std::string book = Build("Stopped Book", {{"index.html", LinkPage("start", "b.html")}});
    AcceptTerms("Stopped Book");
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        BookRun run(book, dir);
        ASSERT_NE(WaitForStartPage("Stopped Book"), "");
        ASSERT_FALSE(TempFolderEmpty());
        ASSERT_TRUE(run.Signal(signal));
        EXPECT_EQ(run.WaitForExit(30s), 0);
        EXPECT_TRUE(TempFolderEmpty());
    }
}

TEST_F(AppEndToEndTest, StopSignalWhileAMessageBoxIsOpenRemovesTheWorkspace) {
    // No page: the box comes with the pictures already written.
    const std::string book = Build("Boxed Book", {{"cover.gif", "GIF89a"}});
    AcceptTerms("Boxed Book");
    BookRun run(book, dir);
    ASSERT_TRUE(WaitUntil([&] {
        const auto ids = WindowsNamed("Boxed Book");
        return std::any_of(ids.begin(), ids.end(),
                           [](const std::string& id) { return WindowWidth(id) < 1000; });
    })) << "no message box";
    ASSERT_FALSE(TempFolderEmpty());

    ASSERT_TRUE(run.Signal(SIGTERM));
    EXPECT_EQ(run.WaitForExit(30s), 1) << "the box kept the viewer from stopping";
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(AppEndToEndTest, StopSignalWhileWaitingForAStartedProgramEndsTheWait) {
    const std::string started = dir.File("started");
    const std::string finished = dir.File("finished");
    const std::string script =
        "#!/bin/sh\necho started > '" + started + "'\nsleep 15\necho done > '" + finished + "'\n";
    const std::string book =
        Build("Waiting Book",
              {{"index.html", LinkPage("run", std::string(LaunchLinkPrefix) + "?sw=Slow.exe")},
               {"Slow.exe", script}});
    AcceptTerms("Waiting Book");
    BookRun run(book, dir);

    const std::string window = WaitForStartPage("Waiting Book");
    ASSERT_NE(window, "");
    ASSERT_TRUE(Click(window, 640, 600));
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(started); }, 30s));
    ASSERT_TRUE(AskToClose(window));
    ASSERT_TRUE(WaitUntil([&] { return WindowsNamed("Waiting Book").empty(); }, 30s));
    ASSERT_TRUE(run.Running()) << "the viewer did not wait for its program";

    ASSERT_TRUE(run.Signal(SIGTERM));
    EXPECT_EQ(run.WaitForExit(10s), 0);
    EXPECT_FALSE(std::filesystem::exists(finished)) << "the viewer waited for its program";
    EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(AppEndToEndTest, TheNextStartRemovesWhatAKilledViewerLeft) {
    const std::string book = Build("Killed Book", {{"index.html", LinkPage("start", "b.html")}});
    AcceptTerms("Killed Book");
    const std::string someoneElses = dir.File("tmp") + "/vellumkit__1";
    std::filesystem::create_directory(someoneElses);  // no lock file: not a viewer's
    {
        BookRun killed(book, dir);
        ASSERT_NE(WaitForStartPage("Killed Book"), "");
        ASSERT_TRUE(killed.Signal(SIGKILL));
        killed.WaitForExit(30s);
    }
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("tmp"))) {
        left.push_back(entry.path().string());
    }
    ASSERT_EQ(left.size(), 2u) << "the killed viewer left nothing to remove";

    BookRun next(book, dir);
    const std::string window = WaitForStartPage("Killed Book");
    ASSERT_NE(window, "");
    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(next.WaitForExit(), 0);
    std::vector<std::string> after;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("tmp"))) {
        after.push_back(entry.path().string());
    }
    EXPECT_EQ(after, std::vector<std::string>{someoneElses});
}

// An X server of its own, so that the test can take it away from the viewer.
class PrivateDisplay {
  public:
    PrivateDisplay() {
        for (int number = 90 + ::getpid() % 50; number < 190 && pid_ < 0; ++number) {
            if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) continue;
            name_ = ":" + std::to_string(number);
            std::string server = "Xvfb";
            std::string screen = "-screen", which = "0", size = "1280x1024x24";
            std::string noTcp = "-nolisten", tcp = "tcp";
            char* argv[] = {server.data(), name_.data(), screen.data(), which.data(),
                            size.data(),   noTcp.data(), tcp.data(),    nullptr};
            if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, argv, environ) != 0) pid_ = -1;
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            if (pid_ > 0 && !WaitUntil([&] { return std::filesystem::exists(socket); }, 20s)) {
                End();
            }
        }
    }
    ~PrivateDisplay() { End(); }

    bool Up() const { return pid_ > 0; }
    const std::string& Name() const { return name_; }
    void End() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

TEST_F(AppEndToEndTest, LosingTheDisplayRemovesTheWorkspace) {
    const std::string book = Build("Lost Display", {{"index.html", LinkPage("start", "b.html")}});
    AcceptTerms("Lost Display");
    const struct {
        const char* what;
        std::function<void(PrivateDisplay&, const std::string& window)> loseIt;
    } cases[] = {
        {"the server ends", [](PrivateDisplay& display, const std::string&) { display.End(); }},
        {"the client is killed",
         [](PrivateDisplay& display, const std::string& window) {
             ASSERT_TRUE(RunTool({"xkill", "-display", display.Name(), "-id", window}));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PrivateDisplay display;
        ASSERT_TRUE(display.Up());
        BookRun run(book, dir, {"DISPLAY=" + display.Name()});
        std::string window;
        ASSERT_TRUE(WaitUntil([&] {
            const auto ids = RunTool({"env", "DISPLAY=" + display.Name(), "xdotool", "search",
                                      "--name", "^Lost Display$"});
            if (ids && !ids->empty()) window = ids->substr(0, ids->find('\n'));
            return !window.empty() && !TempFolderEmpty();
        })) << "the book did not open";
        std::this_thread::sleep_for(2s);  // its page is written and loading

        c.loseIt(display, window);
        EXPECT_EQ(run.WaitForExit(30s), 0);
        EXPECT_TRUE(TempFolderEmpty());
    }
}

struct NewWindowCase {
    const char* name;
    std::string page;
};

class AppEndToEndNewWindowTest : public AppEndToEndTest,
                                 public ::testing::WithParamInterface<NewWindowCase> {};

// Links that ask for a new window still reach the default browser, and the book keeps its page.
TEST_P(AppEndToEndNewWindowTest, WebAddressReachesTheDefaultBrowser) {
    const std::string book = Build("Popup Book", {{"index.html", GetParam().page}});
    AcceptTerms("Popup Book");
    BookRun run(book, dir, UseStandInBrowser());

    const std::string window = WaitForStartPage("Popup Book");
    ASSERT_NE(window, "");
    ASSERT_TRUE(Click(window, 640, 600));
    ASSERT_TRUE(WaitUntil(
        [&] {
            return ReadIfPresent(BrowserCopy()).find("http://example.org/popup") !=
                   std::string::npos;
        },
        60s))
        << "the default browser was not given the address";
    EXPECT_TRUE(ScreenIsGreenAt(640, 600)) << "the window left its page";
    EXPECT_EQ(MainWindowOf("Popup Book"), window);

    ASSERT_TRUE(AskToClose(window));
    EXPECT_EQ(run.WaitForExit(), 0);
    EXPECT_TRUE(TempFolderEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    , AppEndToEndNewWindowTest,
    ::testing::Values(NewWindowCase{"BlankTarget", LinkPage("popup", "http://example.org/popup",
                                                            "target=\"_blank\"")},
                      NewWindowCase{"WindowOpen",
                                    ScriptPage("window.open('http://example.org/popup')")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillmere::testing
