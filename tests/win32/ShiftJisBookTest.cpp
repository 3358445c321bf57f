#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/Win32System.h"
#include "support/AppHarness.h"
#include "support/TempDir.h"

namespace quillmere::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Names in the folder as the ANSI calls give them.
std::vector<std::string> AnsiNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// Run under a Japanese locale (see tests/CMakeLists.txt): Wine's ANSI code page is 932 and the
// page's name, 表.htm, ends its first character with the byte of '\'.
TEST(ShiftJisBook, PageNamedInTheAnsiCodePageIsWrittenAndOpened) {
    const char* expected = std::getenv("QUILLMERE_EXPECT_ACP");
    if (expected == nullptr) GTEST_SKIP() << "run without an expected code page";
    Win32System real;
    ASSERT_EQ(real.AnsiCodePage(), static_cast<unsigned>(std::atoi(expected)));
    ASSERT_EQ(real.AnsiCodePage(), 932u);

    AppHarness h;
    h.system.codePage = real.AnsiCodePage();
    const std::string title = "\x95\x5C\x8E\x86";  // 表紙
    const std::string page = "\x95\x5C.htm";       // 表.htm
    BrandingValues branding;
    branding.EbookTitle = title;
    h.AcceptTerms(title);
    const BookFile book =
        WriteRawBook(h.root.File("book"), {{"a.gif", "G"}, {page, "<p>\x95\x5C</p>"}}, branding);
    const std::string ws = h.WorkspaceFor(h.system.now);
    std::string start;
    std::vector<std::string> written;

    const RunResult run = h.Run(book, [&](CQuillmereApp& app) {
        start = app.StartPage;
        written = AnsiNamesIn(ws);
        const auto file = h.files.OpenForReading(ws + page);
        EXPECT_NE(file, nullptr);
    });

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(h.Messages(), IsEmpty());
    EXPECT_EQ(start, ws + page);
    EXPECT_THAT(written, ElementsAre("a.gif", kWorkspaceLockName, page));
    // No folder named by the lead byte: the only folder made is the Workspace.
    EXPECT_THAT(h.files.createDirectoryCalls, ElementsAre(ws.substr(0, ws.size() - 1)));
    EXPECT_TRUE(std::any_of(h.windowing.log.begin(), h.windowing.log.end(), [&](const auto& e) {
        return e.rfind("caption:", 0) == 0 && e.find(title) != std::string::npos;
    })) << ::testing::PrintToString(h.windowing.log);
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

}  // namespace
}  // namespace quillmere::testing
