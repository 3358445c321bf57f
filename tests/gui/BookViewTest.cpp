// The book's own view on a real window: the reader stays inside the book, nothing is saved, and
// addresses of other schemes go to the reader's programs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/GuiHarness.h"
#include "support/TestFileSystem.h"
#include "ui/MainFrame.h"
#include "ui/QuillmereView.h"

namespace quillmere::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kStartPage = R"html(<html><head><title>Start</title></head><body>
<a id="root" href="/">root</a>
<a id="missing" href="FAQ.html">missing</a>
<a id="outside" href="../outside.html">outside</a>
<a id="unknown" href="notes.qqq">notes</a>
<a id="download" href="data:application/octet-stream,garden" download="saved-note.bin">save</a>
<a id="mail" href="mailto:help@example.org?subject=Seeds">mail</a>
<button id="alert" onclick="alert('Water daily')">alert</button>
</body></html>)html";

class NoPrograms : public ProgramActions {
  public:
    void LaunchPackagedProgram(const std::string&, const std::string&) override {}
    void StartLinkedProgram(const std::string&) override {}
};

class NoSettings : public ViewSettings {
  public:
    std::uint32_t ReadZoom() override { return 100; }
    void WriteZoom(std::uint32_t) override {}
};

// The GTK windowing when there is a display; without one the test skips before it is used.
Windowing& TestWindowing() {
    static FakeWindowing none;
    GtkServices* services = SharedServices();
    return services != nullptr ? services->windowing() : static_cast<Windowing&>(none);
}

class BookViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GtkServices* services = SharedServices();
        if (services == nullptr) GTEST_SKIP() << "no display";
        workspace = dir.File("vellumkit__7") + "/";
        std::filesystem::create_directory(workspace);
        startPage = workspace + "start.html";
        dir.Write("vellumkit__7/start.html", kStartPage);
        // Bytes no engine shows: it would save them.
        dir.Write("vellumkit__7/notes.qqq", std::string("\x00\x01\x02\xff garden", 11));
        dir.Write("outside.html", "<title>Outside</title>not in the book");

        view = std::make_unique<CQuillmereView>(context, programs, settings, startPage, workspace);
        window = services->windowing().CreateMainWindow(MainFrameDescription(), *view);
        ASSERT_NE(window, nullptr);
        gtk = static_cast<GtkMainWindow*>(window.get());
        view->AttachWindow(window.get());
        window->SetCaption("Garden Book");
        window->Show();
        ASSERT_TRUE(Open());
    }

    void TearDown() override {
        if (view) view->AttachWindow(nullptr);
        window.reset();
    }

    bool Open() {
        view->Navigate2(startPage);
        return PumpUntil([&] { return Title() == "Start" && !Loading(); });
    }

    std::string Title() const {
        const char* title = webkit_web_view_get_title(gtk->WebView());
        return title ? title : "";
    }
    bool Loading() const { return webkit_web_view_is_loading(gtk->WebView()); }
    std::string PageText() const {
        return RunScript(gtk->WebView(), "document.documentElement.outerHTML");
    }

    void Click(const std::string& id) {
        RunScript(gtk->WebView(), "document.getElementById('" + id + "').click(); 'done'");
    }

    // The files that a download would have left, wherever the engine saves them.
    static bool SavedAnywhere(const std::string& name) {
        const char* downloads = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
        for (const std::string folder : {std::string(downloads ? downloads : g_get_home_dir()),
                                         std::string(g_get_home_dir())}) {
            if (std::filesystem::exists(folder + "/" + name)) return true;
        }
        return false;
    }

    TempDir dir;
    std::string workspace;
    std::string startPage;
    TestFileSystem files;
    MemoryRegistry registry;
    FakeSystem system;
    FakeDialogs dialogs;
    FakeLifetime lifetime;
    NoProcesses processes;
    FakeShell shell;
    Platform platform{
        dialogs, lifetime,
        files,   registry,
        system,  processes,
        shell,   SharedServices() ? SharedServices()->windowing() : *(Windowing*)nullptr};
    AppContext context{platform, TextRules{LeadBytes(), '/'}, "Garden Book"};
    NoPrograms programs;
    NoSettings settings;
    std::unique_ptr<CQuillmereView> view;
    std::unique_ptr<MainWindow> window;
    GtkMainWindow* gtk = nullptr;
};

TEST_F(BookViewTest, PlacesOutsideTheBookShowTheViewersOwnPageAndBackReturns) {
    for (const char* link : {"root", "missing", "outside"}) {
        SCOPED_TRACE(link);
        ASSERT_TRUE(Open());
        Click(link);
        ASSERT_TRUE(PumpUntil(
            [&] { return Title() == "This page is not part of the book" && !Loading(); }, 10s))
            << "shown: " << Title();
        if (std::string(link) == "root") MaybeScreenshot("not-part-of-the-book");
        EXPECT_THAT(PageText(), Not(HasSubstr(dir.path().string())));
        EXPECT_THAT(webkit_web_view_get_uri(gtk->WebView()), Not(HasSubstr("file:")));
        Click("back");
        EXPECT_TRUE(PumpUntil([&] { return Title() == "Start" && !Loading(); }, 10s));
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(BookViewTest, DownloadsAreRefusedWithOneBoxForEachPageLoad) {
    Click("unknown");
    ASSERT_TRUE(PumpUntil([&] { return dialogs.shown.size() == 1; }, 10s));
    Click("download");
    PumpFor(1500ms);
    EXPECT_EQ(dialogs.shown.size(), 1u) << "told twice on one page";
    EXPECT_EQ(Title(), "Start");

    ASSERT_TRUE(Open());
    webkit_web_view_reload(gtk->WebView());
    ASSERT_TRUE(PumpUntil([&] { return !Loading(); }));
    Click("download");
    ASSERT_TRUE(PumpUntil([&] { return dialogs.shown.size() == 2; }, 10s));
    for (const auto& box : dialogs.shown) {
        EXPECT_EQ(box.text, "This ebook does not save files.");
        EXPECT_EQ(box.caption, "Garden Book");
    }
    PumpFor(1000ms);
    EXPECT_FALSE(SavedAnywhere("notes.qqq"));
    EXPECT_FALSE(SavedAnywhere("saved-note.bin"));
}

TEST_F(BookViewTest, MailLinkGoesToTheReadersMailProgram) {
    Click("mail");
    ASSERT_TRUE(PumpUntil([&] { return !shell.addresses.empty(); }, 10s));
    EXPECT_EQ(shell.addresses, std::vector<std::string>{"mailto:help@example.org?subject=Seeds"});
    EXPECT_EQ(Title(), "Start");

    shell.addressHandled = false;
    Click("mail");
    ASSERT_TRUE(PumpUntil([&] { return !dialogs.shown.empty(); }, 10s));
    EXPECT_EQ(
        dialogs.shown[0].text,
        "No program is set up to open this address:\n\nmailto:help@example.org?subject=Seeds");
}

TEST_F(BookViewTest, ScriptBoxIsTitledWithTheBookNotThePagesAddress) {
    std::string title;
    std::string text;
    ScriptedReader reader(
        "GtkMessageDialog", "script-alert",
        [&](GtkWindow* box) {
            title = gtk_window_get_title(box) ? gtk_window_get_title(box) : "";
            GValue value = G_VALUE_INIT;
            g_value_init(&value, G_TYPE_STRING);
            g_object_get_property(G_OBJECT(box), "text", &value);
            text = g_value_get_string(&value) ? g_value_get_string(&value) : "";
            g_value_unset(&value);
        },
        PressKey("Return"));
    Click("alert");
    ASSERT_TRUE(PumpUntil([&] { return reader.found(); }, 20s));
    EXPECT_EQ(title, "Garden Book");
    EXPECT_EQ(text, "Water daily");
}

}  // namespace
}  // namespace quillmere::testing
