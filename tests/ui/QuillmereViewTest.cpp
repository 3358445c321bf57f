#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/ProfileSettings.h"
#include "support/AppHarness.h"
#include "ui/QuillmereView.h"

namespace quillmere::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr const char* kZoomKey = "Software\\Tallowbrook\\Ebook\\LU";

// The zoom values the window was given, in order.
// The stored zoom, read through the seam as the viewer reads it; nullopt when there is none.
std::optional<std::uint32_t> StoredZoom(Registry& registry) {
    const auto key = registry.OpenKeyForQuery(kZoomKey);
    if (!key) return std::nullopt;
    RegistryValueType type{};
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    if (key->QueryValue("Zoom", type, &value, size) != kRegistrySuccess || size != sizeof value) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> ZoomsGiven(const std::vector<std::string>& log) {
    std::vector<std::string> zooms;
    for (const auto& entry : log) {
        if (entry.rfind("zoom:", 0) == 0) zooms.push_back(entry.substr(5));
    }
    return zooms;
}

class QuillmereViewTest : public ::testing::Test {
  protected:
    QuillmereViewTest() {
        h.AcceptTerms("Ebook");
        book = WriteRawBook(h.root.File("book"), {{"index.html", "home"}, {"b.html", "b"}});
    }

    AppHarness h;
    BookFile book;
};

TEST_F(QuillmereViewTest, CommandsReachTheBrowserControl) {
    const std::string start = h.WorkspaceFor(h.system.now) + "index.html";
    h.Run(book, [&](CQuillmereApp&) {
        h.windowing.log.clear();
        for (int command : {57607, 57607, 32772, 32773, 32774, 12345}) {
            h.windowing.events->OnCommand(command);
        }
        EXPECT_THAT(h.windowing.log,
                    ElementsAre("print", "print", "back", "forward", "navigate:" + start));
    });
}

TEST_F(QuillmereViewTest, WebLinksGoToTheBrowserAndTheRedirectPageGoesWithTheView) {
    const std::string redirect = h.tmp + "temp_webtool_help.html";
    h.Run(book, [&](CQuillmereApp& app) {
        bool cancel = false;
        h.windowing.events->OnBeforeNavigate2(app.Workspace + "b.html", "", cancel);
        EXPECT_FALSE(cancel);
        EXPECT_THAT(h.shell.calls, IsEmpty());

        h.windowing.events->OnBeforeNavigate2("http://example.org/page", "_blank", cancel);
        EXPECT_TRUE(cancel);
        ASSERT_EQ(h.shell.calls.size(), 1u);
        EXPECT_EQ(h.shell.calls[0].path, redirect);
        EXPECT_TRUE(std::filesystem::exists(redirect));
        EXPECT_EQ(app.View->RedirectPagePath, redirect);
    });
    EXPECT_FALSE(std::filesystem::exists(redirect));
    EXPECT_THAT(h.Messages(), IsEmpty());
}

TEST_F(QuillmereViewTest, ClosingWithoutAWebLinkDeletesNoRedirectPage) {
    std::ofstream(h.tmp + "temp_webtool_help.html") << "another viewer's";
    h.Run(book);
    EXPECT_TRUE(std::filesystem::exists(h.tmp + "temp_webtool_help.html"));
}

TEST_F(QuillmereViewTest, PlacesThatAreNotPartOfTheBookShowTheViewersOwnPageInstead) {
    h.Run(book, [&](CQuillmereApp& app) {
        const std::string cases[] = {
            "file://" + app.Workspace + "FAQ.html",  // missing from the book
            "file://" + app.Workspace,               // the book's folder
            "file:///",                              // the reader's own files
            "file://" + h.tmp,
        };
        for (const std::string& url : cases) {
            SCOPED_TRACE(url);
            h.windowing.ownPages.clear();
            bool cancel = false;
            h.windowing.events->OnBeforeNavigate2(url, "", cancel);
            EXPECT_TRUE(cancel);
            ASSERT_EQ(h.windowing.ownPages.size(), 1u);
            EXPECT_THAT(h.windowing.ownPages[0], HasSubstr("This page is not part of the book"));
            EXPECT_THAT(h.windowing.ownPages[0], HasSubstr("history.back()"));
            EXPECT_THAT(h.windowing.ownPages[0], Not(HasSubstr(h.tmp)));
        }
        bool cancel = false;
        h.windowing.ownPages.clear();
        // The control reports local pages as paths on Windows, as file addresses elsewhere.
        const std::string page = app.Workspace + "b.html";
        h.windowing.events->OnBeforeNavigate2(kNativeSeparator == '/' ? "file://" + page : page, "",
                                              cancel);
        EXPECT_FALSE(cancel);
        EXPECT_THAT(h.windowing.ownPages, IsEmpty());
    });
    EXPECT_THAT(h.Messages(), IsEmpty());
}

TEST_F(QuillmereViewTest, OtherSchemesGoToTheReadersProgramOrSayThereIsNone) {
    const std::string address = "mailto:help@example.org?subject=Book";
    h.Run(book, [&](CQuillmereApp&) {
        bool cancel = false;
        h.windowing.events->OnBeforeNavigate2(address, "", cancel);
        EXPECT_TRUE(cancel);
        EXPECT_THAT(h.Messages(), IsEmpty());

        h.shell.addressHandled = false;
        cancel = false;
        h.windowing.events->OnBeforeNavigate2(address, "", cancel);
        EXPECT_TRUE(cancel);
    });
    EXPECT_THAT(h.shell.addresses, ElementsAre(address, address));
    EXPECT_THAT(h.shell.calls, IsEmpty());
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].text, "No program is set up to open this address:\n\n" + address);
    EXPECT_EQ(h.dialogs.shown[0].caption, "Ebook");
    EXPECT_EQ(h.dialogs.shown[0].style.icon, MessageBoxIcon::Stop);
}

TEST_F(QuillmereViewTest, RefusedDownloadIsToldInAStopBox) {
    h.Run(book, [&](CQuillmereApp&) { h.windowing.events->OnDownloadRefused(); });
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_EQ(h.dialogs.shown[0].text, "This ebook does not save files.");
    EXPECT_EQ(h.dialogs.shown[0].caption, "Ebook");
    EXPECT_EQ(h.dialogs.shown[0].style.buttons, MessageBoxButtons::Ok);
    EXPECT_EQ(h.dialogs.shown[0].style.icon, MessageBoxIcon::Stop);
}

TEST_F(QuillmereViewTest, WindowStartsAtTheStoredZoomWhenItIsUsable) {
    const struct {
        const char* what;
        std::optional<std::uint32_t> stored;
        const char* given;
    } cases[] = {
        {"none", std::nullopt, "100"}, {"in range", 150, "150"}, {"off the steps", 133, "133"},
        {"smallest", 50, "50"},        {"largest", 300, "300"},  {"too small", 49, "100"},
        {"too large", 301, "100"},     {"zero", 0, "100"},       {"huge", 0xFFFFFFFFu, "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppHarness run;
        run.AcceptTerms("Ebook");
        if (c.stored) ASSERT_TRUE(run.registry.WriteDword(kZoomKey, "Zoom", *c.stored));
        run.Run(book);
        EXPECT_THAT(ZoomsGiven(run.windowing.log), ElementsAre(c.given));
    }
}

TEST_F(QuillmereViewTest, DamagedZoomValueMeansNormalSize) {
    if (*kNoRegistryFile != '\0') GTEST_SKIP() << kNoRegistryFile;
    // A text value under the name, where a number belongs.
    ASSERT_TRUE(h.registry.WriteDword(kZoomKey, "Zoom", 150));
    std::string text = ReadFileBytes(h.registryPath);
    const std::string number = "\"Zoom\"=dword:00000096";
    const auto at = text.find(number);
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, number.size(), "\"Zoom\"=\"150\"");
    std::ofstream(h.registryPath, std::ios::binary | std::ios::trunc) << text;
    h.windowing.log.clear();
    h.Run(book);
    EXPECT_THAT(ZoomsGiven(h.windowing.log), ElementsAre("100"));
}

TEST_F(QuillmereViewTest, ZoomCommandsStepThroughTheRangeAndTheLastIsKeptForTheNextRun) {
    h.Run(book, [&](CQuillmereApp&) {
        ViewEvents& events = *h.windowing.events;
        for (int command : {kCommandZoomIn, kCommandZoomIn, kCommandZoomReset, kCommandZoomOut,
                            kCommandZoomOut}) {
            events.OnCommand(command);
        }
    });
    EXPECT_THAT(ZoomsGiven(h.windowing.log), ElementsAre("100", "110", "125", "100", "90", "80"));
    EXPECT_EQ(StoredZoom(h.registry), 80u);

    h.windowing.log.clear();
    h.Run(book, [&](CQuillmereApp&) {
        // At either end a further step changes nothing.
        for (int i = 0; i < 20; ++i) h.windowing.events->OnCommand(kCommandZoomOut);
        EXPECT_EQ(ZoomsGiven(h.windowing.log).back(), "50");
        for (int i = 0; i < 20; ++i) h.windowing.events->OnCommand(kCommandZoomIn);
    });
    EXPECT_THAT(ZoomsGiven(h.windowing.log),
                ElementsAre("80", "75", "67", "50", "67", "75", "80", "90", "100", "110", "125",
                            "150", "175", "200", "250", "300"));
    EXPECT_EQ(StoredZoom(h.registry), 300u);
}

}  // namespace
}  // namespace quillmere::testing
