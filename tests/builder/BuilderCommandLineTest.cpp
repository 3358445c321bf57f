#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "BookFileBytes.h"
#include "records/LittleEndian.h"
#include "records/RecordFields.h"
#include "support/BookBuilder.h"
#include "support/NativeBackend.h"
#include "support/RunProgram.h"

namespace quillmere {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::RunProgram;

// The entries that --inspect lists ("  N: "name" offset X, size Y, ..."), as "name Y" in order.
std::vector<std::string> ListedEntries(const std::string& report) {
    std::vector<std::string> entries;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t quote = line.find(": \"");
        const std::size_t close = line.find("\" offset ");
        const std::size_t size = line.find(", size ");
        if (quote == std::string::npos || close == std::string::npos || size == std::string::npos)
            continue;
        const std::size_t sizeEnd = line.find(',', size + 7);
        entries.push_back(line.substr(quote + 3, close - quote - 3) + " " +
                          line.substr(size + 7, sizeEnd - size - 7));
    }
    return entries;
}

TEST(BuilderCommandLine, HelpDescribesUsageOptionsExitStatusAndAnExample) {
    const auto result = RunProgram(QUILLMERE_BUILDER_PATH, {"--help"});
    EXPECT_EQ(result.exitCode, 0);
    for (const char* part : {"Usage: quillmere-build --stub STUB --out BOOK", "--inspect BOOK",
                             "--reseller-id N", "--hide-bonus", "Exit status:", "Example:"}) {
        EXPECT_THAT(result.out, HasSubstr(part));
    }
}

// The Windows builder is the one built as a .exe; it leaves signing to signtool.
TEST(BuilderCommandLine, TheWindowsBuilderRefusesToSignAndNamesSigntool) {
    if (!std::string_view(QUILLMERE_BUILDER_PATH).ends_with(".exe")) {
        GTEST_SKIP() << "the Linux builder signs; SigningTest covers it";
    }
    const char* command = "signtool sign /fd sha256 /f CERT.p12 /p PASSWORD";
    EXPECT_THAT(RunProgram(QUILLMERE_BUILDER_PATH, {"--help"}).out, HasSubstr(command));
    const auto result = RunProgram(QUILLMERE_BUILDER_PATH,
                                   {"--stub", "stub.exe", "--out", "book.exe", "--sign", "a.p12",
                                    "--sign-password-file", "a.pass", "index.html"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.err, HasSubstr("quillmere-build.exe does not sign books"));
    EXPECT_THAT(result.err, HasSubstr(command));
}

TEST(BuilderCommandLine, WithoutArgumentsItPrintsUsageAndFails) {
    const auto result = RunProgram(QUILLMERE_BUILDER_PATH, {});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.err, HasSubstr("Usage:"));
    EXPECT_EQ(result.out, "");
}

TEST(BuilderCommandLine, TakesInlineValuesAndFilesAfterADoubleDash) {
    testing::TempDir dir;
    const std::string dashed = dir.Write("-notes.html", "<p>");
    const std::string book = dir.File("book");
    const auto result = RunProgram(
        QUILLMERE_BUILDER_PATH,
        {"--stub=" QUILLMERE_STUB_PATH, "--out=" + book, "--title=Inline", "--", dashed});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto inspected = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", book});
    EXPECT_EQ(inspected.exitCode, 0) << inspected.out;
    EXPECT_THAT(inspected.out, HasSubstr("title: \"Inline\""));
    EXPECT_THAT(inspected.out, HasSubstr("\"-notes.html\""));
}

// Shift-JIS 0x95 0x5C, and 0x83 0x41 against 0x83 0x61: characters, not a backslash or a letter.
TEST(BuilderCommandLine, NamesAreReadInTheCodePageTheReadersUse) {
    if (*testing::kNamesAreNotBytes != '\0') GTEST_SKIP() << testing::kNamesAreNotBytes;
    testing::TempDir dir;
    const std::string book = dir.File("book");
    const auto result = RunProgram(
        QUILLMERE_BUILDER_PATH, {"--stub", QUILLMERE_STUB_PATH, "--out", book, "--code-page", "932",
                                 dir.Write("\x95\x5C.htm", "<p>"), dir.Write("\x83\x41.gif", "A"),
                                 dir.Write("\x83\x61.gif", "a")});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const auto inspected = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", book});
    EXPECT_EQ(inspected.exitCode, 0) << inspected.out;
    EXPECT_THAT(inspected.out, HasSubstr("\"\x95\x5C.htm\""));
    EXPECT_THAT(inspected.out, HasSubstr("a plain file name only in code page 932 936 949 950"));
}

TEST(BuilderCommandLine, AFolderStandsForItsFilesInNameOrder) {
    testing::TempDir dir;
    const std::string first = dir.Write("first.htm", "1");
    std::filesystem::create_directory(dir.File("pages"));
    dir.Write("pages/b.htm", "four");
    dir.Write("pages/a.htm", "333");
    dir.Write("pages/C.gif", "22");
    const std::string book = dir.File("book");
    const auto result = RunProgram(QUILLMERE_BUILDER_PATH, {"--stub", QUILLMERE_STUB_PATH, "--out",
                                                            book, first, dir.File("pages")});
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const auto inspected = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", book});
    EXPECT_EQ(inspected.exitCode, 0) << inspected.out;
    EXPECT_THAT(ListedEntries(inspected.out),
                ElementsAre("first.htm 1", "C.gif 2", "a.htm 3", "b.htm 4"));
}

// Books spoilt after building; --inspect must find each fault.
struct Spoilt {
    const char* name;
    void (*spoil)(std::vector<std::uint8_t>& book, std::uint8_t* directory);
    const char* fault;
};

const Spoilt kSpoilt[] = {
    {"cut_short", [](auto& book, auto*) { book.resize(book.size() - 8); },
     "the package runs past the end of the file"},
    {"entry_outside_package",
     [](auto&, std::uint8_t* directory) {
         WriteLe32(directory + kEntriesOffset + kEntrySize + kEntrySizeFieldOffset, 5000);
     },
     "entry 1 \"b.png\" lies outside the package"},
    {"entry_before_package",
     [](auto&, std::uint8_t* directory) {
         WriteLe32(directory + kEntriesOffset, ReadLe32(directory + kPackageOffsetOffset) - 1);
     },
     "entry 0 \"a.html\" lies outside the package"},
    {"too_many_files",
     [](auto&, std::uint8_t* directory) { WriteLe32(directory + kFileCountOffset, 101); },
     "the file count is above 100"},
    {"odd_package_size",
     [](auto&, std::uint8_t* directory) {
         WriteLe32(directory + kPackageSizeOffset, ReadLe32(directory + kPackageSizeOffset) - 1);
     },
     "the package size is not a multiple of 8"},
    {"name_without_zero",
     [](auto&, std::uint8_t* directory) {
         std::fill_n(directory + kEntriesOffset + kEntryNameOffset, kEntryNameWidth, 'n');
     },
     "nnn\" has no terminating zero byte"},
    {"name_with_folder",
     [](auto&, std::uint8_t* directory) {
         std::copy_n("x/a.html", 8, directory + kEntriesOffset + kEntryNameOffset);
     },
     "entry 0 \"x/a.html\" is not a plain file name"},
    {"unmerged_directory",
     [](auto&, std::uint8_t* directory) {
         std::copy_n(kMergePlaceholder, kMergePlaceholderLength, directory + kEntriesOffset);
     },
     "the package directory is not merged"},
    {"unmerged_branding",
     [](auto& book, std::uint8_t* directory) {
         WriteLe32(directory - kPackageDirectoryOffset + kDefaultsFlagOffset, 1);
         (void)book;
     },
     "the branding record is not merged"},
};

bool HasFaultLine(const std::string& report, const std::string& fault) {
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("fault: ") && line.find(fault) != std::string::npos) return true;
    }
    return false;
}

class SpoiltBook : public ::testing::TestWithParam<Spoilt> {};

TEST_P(SpoiltBook, InspectFindsTheFault) {
    testing::TempDir dir;
    testing::BookSpec recipe;
    recipe.outPath = dir.File("book");
    recipe.files = {{"a.html", "<p>a</p>"}, {"b.png", "PNG"}};
    auto book = testing::ReadBytes(testing::BuildBook(recipe));
    const std::size_t block = testing::BlockOffset(book);
    GetParam().spoil(book, book.data() + block + kPackageDirectoryOffset);
    testing::WriteBytes(recipe.outPath, book);

    const auto result = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", recipe.outPath});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(HasFaultLine(result.out, GetParam().fault)) << result.out;
    EXPECT_THAT(result.out, ::testing::Not(HasSubstr("\nsound\n")));
}

INSTANTIATE_TEST_SUITE_P(Faults, SpoiltBook, ::testing::ValuesIn(kSpoilt),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BuilderCommandLine, InspectRefusesAFileWithoutRecordsAndTheUnmergedStub) {
    testing::TempDir dir;
    const auto plain = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", dir.Write("x", "hi")});
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_THAT(plain.err, HasSubstr("no record block"));

    const auto stub = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", QUILLMERE_STUB_PATH});
    EXPECT_EQ(stub.exitCode, 1);
    EXPECT_THAT(stub.out, HasSubstr("fault: the branding record is not merged"));
    EXPECT_THAT(stub.out, HasSubstr("fault: the package directory is not merged"));

    const auto missing = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", dir.File("absent")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_THAT(missing.err, HasSubstr("absent"));
}

}  // namespace
}  // namespace quillmere
