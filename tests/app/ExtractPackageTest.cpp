#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/AppHarness.h"

namespace quillmere::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using namespace std::string_literals;

class ExtractPackageTest : public ::testing::Test {
  protected:
    ExtractPackageTest() { h.AcceptTerms("Ebook"); }

    BookFile Raw(const PackagedFiles& files) { return WriteRawBook(h.root.File("book"), files); }

    AppHarness h;
};

TEST_F(ExtractPackageTest, StartPageIsTheLastIndexPageElseTheFirstPage) {
    const struct {
        PackagedFiles files;
        std::string start;
    } cases[] = {
        {{{"logo.gif", "G"}, {"Index.HTM", "i"}, {"about.html", "a"}}, "Index.HTM"},
        {{{"a.htm", "a"}, {"index.html", "i"}, {"b.htm", "b"}, {"index.htm", "j"}}, "index.htm"},
        {{{"notes", "n"}, {"b.htm", "b"}, {"a.htm", "a"}}, "b.htm"},
        // Only the exact names replace a start page: a comparison ignoring case would pick
        // INDEX.HTML here.
        {{{"Index.HTM", "i"}, {"index.html", "j"}}, "index.html"},
        {{{"Index.HTM", "i"}, {"INDEX.HTML", "j"}, {"Index.htm", "k"}}, "Index.HTM"},
    };
    for (const auto& c : cases) {
        std::string start;
        const RunResult run =
            h.Run(Raw(c.files), [&](CQuillmereApp& app) { start = app.StartPage; });
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(start, h.WorkspaceFor(h.system.now) + c.start);
        EXPECT_EQ(h.windowing.log.at(6), "navigate:" + h.WorkspaceFor(h.system.now) + c.start);
        h.windowing.log.clear();
    }
}

TEST_F(ExtractPackageTest, EachEntryIsWrittenAccordingToItsKind) {
    BookFile book = Raw({{"index.html", "keep\0cut"s},
                         {"empty.htm", ""},
                         {"notes", "raw\0bytes"s},
                         {"blank.gif", ""},
                         {"SETUP.EXE", "MZ"},
                         {"dup.txt", "first version"},
                         {"dup.txt", "second"}});
    const std::string ws = h.WorkspaceFor(h.system.now);
    std::vector<std::string> names;

    const RunResult run = h.Run(book, [&](CQuillmereApp&) {
        for (const auto& entry : std::filesystem::directory_iterator(ws)) {
            names.push_back(entry.path().filename().string());
        }
        EXPECT_EQ(ReadFileBytes(ws + "index.html"), "keep");
        EXPECT_EQ(ReadFileBytes(ws + "empty.htm"), "");
        EXPECT_EQ(ReadFileBytes(ws + "notes"), "raw\0bytes"s);
        EXPECT_EQ(ReadFileBytes(ws + "blank.gif"), "");
        EXPECT_EQ(ReadFileBytes(ws + "dup.txt"), "second");
    });

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(names, ::testing::UnorderedElementsAre(kWorkspaceLockName, "blank.gif", "dup.txt",
                                                       "empty.htm", "index.html", "notes"));
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

// A directory the builder would never write must not make the viewer read outside its image.
TEST_F(ExtractPackageTest, DamagedDirectoryIsReportedBeforeAnythingIsDeciphered) {
    const PackagedFiles files = {{"index.html", "page"}, {"b.gif", "bb"}};
    const std::uint32_t imageSize =
        static_cast<std::uint32_t>(std::filesystem::file_size(Raw(files).path));
    const std::uint32_t packageOffset = imageSize - 8;
    const struct {
        const char* what;
        std::function<void(BookFile&)> damage;
    } cases[] = {
        {"more than 100 entries", [](BookFile& b) { b.SetFileCount(101); }},
        {"package past the end", [&](BookFile& b) { b.SetPackage(packageOffset, 16); }},
        {"package range wraps", [&](BookFile& b) { b.SetPackage(0xFFFFFFF8u, 16); }},
        {"entry before the package", [&](BookFile& b) { b.SetEntry(1, packageOffset - 1, 2); }},
        {"entry past the package", [&](BookFile& b) { b.SetEntry(1, packageOffset + 4, 5); }},
        {"entry range wraps", [&](BookFile& b) { b.SetEntry(1, packageOffset, 0xFFFFFFFFu); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppHarness fresh;
        fresh.AcceptTerms("Ebook");
        BookFile book = WriteRawBook(fresh.root.File("book"), files);
        c.damage(book);

        const RunResult run = fresh.Run(book);

        EXPECT_EQ(run.exitCode, 1);
        EXPECT_THAT(fresh.Messages(),
                    ElementsAre("The ebook's package is damaged (software corrupted)"));
        EXPECT_THAT(fresh.files.createdFiles, IsEmpty());
        EXPECT_THAT(fresh.TempEntries(), IsEmpty());
    }
}

// Names that would reach outside the folder are refused, whatever kind of file they name.
TEST_F(ExtractPackageTest, NameThatIsNotAPlainFileNameIsNeverWritten) {
    for (const std::string name : {"../escape.txt", "../escape.html", "sub/page.html", "..", "",
                                   "con.htm", "Lpt1.txt", "page.htm.", "page.htm "}) {
        SCOPED_TRACE(name);
        AppHarness fresh;
        fresh.AcceptTerms("Ebook");
        BookFile book =
            WriteRawBook(fresh.root.File("book"), {{"index.html", "page"}, {"x.gif", "bad"}});
        book.SetEntryName(1, name);
        std::ofstream(fresh.tmp + "escape.txt") << "keep";
        std::ofstream(fresh.tmp + "escape.html") << "keep";

        const RunResult run = fresh.Run(book);

        EXPECT_EQ(run.exitCode, 1);
        EXPECT_THAT(fresh.Messages(), ElementsAre("Unable to create temp files needed"));
        EXPECT_EQ(ReadFileBytes(fresh.tmp + "escape.txt"), "keep");
        EXPECT_EQ(ReadFileBytes(fresh.tmp + "escape.html"), "keep");
        EXPECT_THAT(fresh.TempEntries(), ElementsAre("escape.html", "escape.txt"));
    }
}

// Shift-JIS 0x95 0x5C and 0x83 0x5C, Big5 0xA5 0x5C: characters whose second byte is a backslash.
TEST_F(ExtractPackageTest, NamesAreReadAsCharactersOfTheUsersCodePage) {
    if (*kNamesAreNotBytes != '\0') {
        GTEST_SKIP() << kNamesAreNotBytes
                     << ", so the code page this test fakes is not the one files are named in "
                        "(win32-shift-jis-book runs a book under a Japanese one)";
    }
    const struct {
        unsigned codePage;
        std::string page, picture;
        bool opens;
    } cases[] = {
        {932, "\x95\x5C.htm", "\x83\x5C.gif", true},
        {950, "\xA5\x5C.htm", "\xA5\x5C.gif", true},
        {65001, "\x95\x5C.htm", "\x83\x5C.gif", false},
        {932, "\xA5\x5C.htm", "\x83\x5C.gif", false},  // 0xA5 is a whole character there
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        AppHarness fresh;
        fresh.AcceptTerms("Ebook");
        fresh.system.codePage = c.codePage;
        const BookFile book =
            WriteRawBook(fresh.root.File("book"), {{c.page, "p"}, {c.picture, "G"}});
        std::vector<std::string> written;

        const RunResult run = fresh.Run(book, [&](CQuillmereApp&) {
            for (const auto& entry :
                 std::filesystem::directory_iterator(fresh.WorkspaceFor(fresh.system.now))) {
                // The running viewer's own lock file is not one of the book's files.
                if (entry.path().filename() == kWorkspaceLockName) continue;
                written.push_back(entry.path().filename().string());
            }
        });

        if (c.opens) {
            EXPECT_EQ(run.exitCode, 0);
            std::sort(written.begin(), written.end());
            EXPECT_THAT(written, ElementsAre(c.picture, c.page));
            EXPECT_THAT(fresh.Messages(), IsEmpty());
        } else {
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_THAT(fresh.Messages(), ElementsAre("Unable to create temp files needed"));
        }
        EXPECT_THAT(fresh.TempEntries(), IsEmpty());  // cleaned up either way
    }
}

}  // namespace
}  // namespace quillmere::testing
