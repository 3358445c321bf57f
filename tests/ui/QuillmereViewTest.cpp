#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/AppHarness.h"
#include "ui/QuillmereView.h"

namespace quillmere::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

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

}  // namespace
}  // namespace quillmere::testing
