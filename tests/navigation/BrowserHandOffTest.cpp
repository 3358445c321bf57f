#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "navigation/BrowserHandOff.h"
#include "support/FakePlatform.h"
#include "support/NativeBackend.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"

namespace quillmere {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
namespace fs = std::filesystem;

struct HandOffHost {
    explicit HandOffHost(const TextRules& rules = TextRules{LeadBytes(), testing::kNativeSeparator})
        : ctx{platform, rules, "Test Book"} {}
    testing::FakeDialogs dialogs;
    testing::FakeLifetime lifetime;
    testing::TestFileSystem files;
    testing::MemoryRegistry registry;
    testing::FakeSystem system;
    testing::FakeShell shell;
    testing::FakeWindowing windowing;
    // No program is started by a hand-off.
    class : public Processes {
        ProcessHandle Start(const std::string&, const std::vector<std::string>&) override {
            ADD_FAILURE() << "a hand-off started a program";
            return kFailedProcess;
        }
        int Wait(ProcessHandle) override { return 0; }
        void Close(ProcessHandle) override {}
    } processes;
    Platform platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};
    AppContext ctx;
};

// The page as a browser receives it, with the address written as `written`.
std::string PageWithAddress(const std::string& written) {
    return "<HTML><HEAD><TITLE>Redirect</TITLE>\n"
           "<META HTTP-EQUIV=\"refresh\" CONTENT=\"0; URL=" +
           written +
           "\">\n"
           "</HEAD><BODY><br><br><br><center>If you are not redirected automatically, please "
           "<a href=\"" +
           written + "\" style=\"color:#000000\">click here</a></center></BODY></HTML>";
}

const char* const kBrowserFailure =
    "Unable to activate your Internet browser\n\nPlease activate your browser and enter the "
    "address:\n\n";

struct AddressCase {
    std::string url;
    std::string written;
};

void PrintTo(const AddressCase& c, std::ostream* out) { *out << '"' << c.url << '"'; }

class RedirectAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(RedirectAddress, IsWrittenSoThatItStaysOneAttributeValue) {
    EXPECT_EQ(RedirectPageText(GetParam().url), PageWithAddress(GetParam().written));
}

INSTANTIATE_TEST_SUITE_P(
    Urls, RedirectAddress,
    ::testing::Values(AddressCase{"http://example.com/page.html", "http://example.com/page.html"},
                      AddressCase{"http://example.com/q?a=1&b=2",
                                  "http://example.com/q?a=1&amp;b=2"},
                      AddressCase{"http://e.com/\"><script>alert(1)</script>",
                                  "http://e.com/&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;"},
                      // Text that already looks like a reference must reach the browser as it was.
                      AddressCase{"http://e.com/?x=&lt;&#34;", "http://e.com/?x=&amp;lt;&amp;#34;"},
                      AddressCase{"http://e.com/it's%22%3C", "http://e.com/it's%22%3C"},
                      AddressCase{"", ""}));

class BrowserHandOffTest : public ::testing::Test {
  protected:
    BrowserHandOffTest() {
        host.files.temporaryDirectory = dir.path().string() + testing::kNativeSeparator;
    }
    TempDir dir;
    HandOffHost host;
    std::string pagePath = dir.File("temp_webtool_help.html");
};

TEST_F(BrowserHandOffTest, WritesAPrivatePageInTheTemporaryFolderAndOpensIt) {
    std::string redirectPagePath;
    EXPECT_TRUE(HandOffToBrowser(host.ctx, "http://example.com/a-longer-first-address.html",
                                 redirectPagePath));
    EXPECT_EQ(redirectPagePath, pagePath);

    // The second hand-off keeps the path and replaces the whole page.
    EXPECT_TRUE(HandOffToBrowser(host.ctx, "http://e.com/?a<b", redirectPagePath));
    EXPECT_EQ(redirectPagePath, pagePath);
    EXPECT_EQ(ReadFileBytes(pagePath), PageWithAddress("http://e.com/?a&lt;b"));
    ASSERT_EQ(host.shell.calls.size(), 2u);
    EXPECT_EQ(host.shell.calls[1].path, pagePath);
    EXPECT_TRUE(host.dialogs.shown.empty());
}

TEST_F(BrowserHandOffTest, OnlyItsUserMayReadThePage) {
    if (*testing::kNoPermissionBits != '\0') GTEST_SKIP() << testing::kNoPermissionBits;
    std::string redirectPagePath;
    ASSERT_TRUE(HandOffToBrowser(host.ctx, "http://example.com/", redirectPagePath));
    EXPECT_EQ(testing::PermissionBits(pagePath), 0600u);
}

TEST_F(BrowserHandOffTest, PathAlreadyKnownIsUsedWithoutAskingForTheTemporaryFolder) {
    std::string redirectPagePath = dir.File("chosen.html");
    host.files.temporaryDirectory = std::nullopt;
    EXPECT_TRUE(HandOffToBrowser(host.ctx, "http://example.com/", redirectPagePath));
    EXPECT_EQ(redirectPagePath, dir.File("chosen.html"));
    EXPECT_EQ(ReadFileBytes(redirectPagePath), PageWithAddress("http://example.com/"));
}

TEST_F(BrowserHandOffTest, ShellThatCannotOpenThePageLeadsToTheAddressBeingShown) {
    for (std::intptr_t result : {0, 2, 31, 32}) {
        host.dialogs.shown.clear();
        host.shell.result = result;
        std::string redirectPagePath;
        const std::string url = "http://example.com/?q=\"<%s>\"";

        EXPECT_FALSE(HandOffToBrowser(host.ctx, url, redirectPagePath)) << result;

        ASSERT_EQ(host.dialogs.shown.size(), 1u) << result;
        EXPECT_EQ(host.dialogs.shown[0].text, kBrowserFailure + url);
        EXPECT_EQ(host.dialogs.shown[0].caption, "Test Book");
        EXPECT_EQ(host.dialogs.shown[0].style.icon, MessageBoxIcon::Stop);
        EXPECT_EQ(host.dialogs.shown[0].style.buttons, MessageBoxButtons::Ok);
        EXPECT_TRUE(fs::exists(pagePath));  // left for the next hand-off
    }
    host.shell.result = 33;
    std::string redirectPagePath;
    EXPECT_TRUE(HandOffToBrowser(host.ctx, "http://example.com/", redirectPagePath));
}

TEST_F(BrowserHandOffTest, NeverWritesThroughASymbolicLink) {
    const std::string victim = dir.Write("victim.txt", "keep me");
    std::error_code error;
    fs::create_symlink(victim, pagePath, error);
    // Wine's call reports success and makes nothing.
    if (error || !fs::is_symlink(fs::symlink_status(pagePath))) {
        GTEST_SKIP() << "this system cannot make a symbolic link to a file";
    }

    std::string redirectPagePath;
    EXPECT_FALSE(HandOffToBrowser(host.ctx, "http://example.com/", redirectPagePath));

    EXPECT_EQ(ReadFileBytes(victim), "keep me");
    EXPECT_TRUE(host.shell.calls.empty());
    ASSERT_EQ(host.dialogs.shown.size(), 1u);
    EXPECT_EQ(host.dialogs.shown[0].text, "Failed to write file " + pagePath);
}

struct FallbackCase {
    std::optional<std::string> temporaryFolder;
    std::string fallbackFolder;
    std::string path;
};

// The fixed folder is the file system's to name, whatever the path rules say.
TEST(BrowserHandOffFallback, UnknownTemporaryFolderGivesTheFileSystemsFixedPath) {
    for (const FallbackCase& c :
         {FallbackCase{std::nullopt, "c:\\", "c:\\temp_webtool_help.html"},
          FallbackCase{"", "c:\\", "c:\\temp_webtool_help.html"},
          FallbackCase{std::nullopt, "/tmp/", "/tmp/temp_webtool_help.html"}}) {
        HandOffHost host(TextRules{LeadBytes(), '/'});
        host.files.temporaryDirectory = c.temporaryFolder;
        host.files.fallbackTemporaryDirectory = c.fallbackFolder;
        host.files.failCreatesAfter = 0;  // keep the test away from the real fixed path
        std::string redirectPagePath;

        EXPECT_FALSE(HandOffToBrowser(host.ctx, "http://example.com/", redirectPagePath));

        EXPECT_EQ(redirectPagePath, c.path);
        EXPECT_EQ(host.files.createAttempts, std::vector<std::string>{c.path});
        ASSERT_EQ(host.dialogs.shown.size(), 1u);
        EXPECT_EQ(host.dialogs.shown[0].text, "Failed to write file " + c.path);
        EXPECT_TRUE(host.shell.calls.empty());
    }
}

TEST_F(BrowserHandOffTest, RemovingThePageTouchesNothingBeforeTheFirstHandOff) {
    RemoveRedirectPage(host.ctx, "");
    EXPECT_TRUE(host.files.removedFiles.empty());

    std::string redirectPagePath;
    ASSERT_TRUE(HandOffToBrowser(host.ctx, "http://example.com/", redirectPagePath));
    RemoveRedirectPage(host.ctx, redirectPagePath);
    EXPECT_FALSE(fs::exists(pagePath));
    RemoveRedirectPage(host.ctx, redirectPagePath);  // already gone: nothing to report
    EXPECT_TRUE(host.dialogs.shown.empty());
}

}  // namespace
}  // namespace quillmere
