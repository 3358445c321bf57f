#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "BookFileBytes.h"
#include "support/RunProgram.h"

namespace quillmere {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::RunProgram;

using Files = std::vector<std::pair<std::string, std::string>>;

struct Build {
    testing::TempDir dir;
    std::string book = dir.File("book");
    testing::ProgramResult result;

    explicit Build(const Files& files, std::vector<std::string> options = {},
                   const std::string& stub = QUILLMERE_STUB_PATH) {
        fs::create_directory(dir.File("in"));
        std::vector<std::string> args = {"--stub", stub, "--out", book};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back("--");
        for (const auto& [name, content] : files) args.push_back(dir.Write("in/" + name, content));
        result = RunProgram(QUILLMERE_BUILDER_PATH, args);
    }
};

std::vector<std::string> WarningLines(const std::string& err) {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        if (line.find(": warning: ") != std::string::npos || line.starts_with("... and ")) {
            lines.push_back(line);
        }
    }
    return lines;
}

struct SummaryCase {
    const char* name;
    Files files;
    const char* counts;
    const char* startPage;
};

const SummaryCase kSummaries[] = {
    {"an_index_page",
     {{"about.html", "a"}, {"index.html", "i"}, {"cover.gif", "G"}, {"Tool.exe", "MZ"}},
     "4 files: 2 pages, 1 program, 1 other file",
     "start page: index.html, the only page named index.html or index.htm"},
    {"index_names_compared_in_letter_case",
     {{"about.html", "a"}, {"Index.html", "i"}},
     "2 files: 2 pages, 0 programs, 0 other files",
     "start page: about.html, the first page, as no page is named index.html or index.htm "
     "(letter case counts: Index.html is not)"},
    {"the_last_of_several_index_pages",
     {{"a.htm", "a"}, {"index.html", "i"}, {"b.htm", "b"}, {"index.htm", "j"}},
     "4 files: 4 pages, 0 programs, 0 other files",
     "start page: index.htm, the last of the 2 pages named index.html or index.htm"},
    {"no_page",
     {{"logo.gif", "G"}},
     "1 file: 0 pages, 0 programs, 1 other file",
     "start page: none, the book holds no page"},
};

class BuildSummary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(BuildSummary, SaysWhatTheBookHoldsAndWhichPageOpensFirst) {
    Build build(GetParam().files);
    ASSERT_EQ(build.result.exitCode, 0) << build.result.err;
    const std::string size = std::to_string(fs::file_size(build.book));
    std::string grouped;
    for (std::size_t i = 0; i < size.size(); ++i) {
        if (i > 0 && (size.size() - i) % 3 == 0) grouped += ',';
        grouped += size[i];
    }
    EXPECT_THAT(build.result.out,
                HasSubstr(build.book + ": " + grouped + " bytes, for readers on "));
    EXPECT_THAT(build.result.out, HasSubstr("  " + std::string(GetParam().counts) + "\n"));
    EXPECT_THAT(build.result.out, HasSubstr("  " + std::string(GetParam().startPage) + "\n"));

    // --inspect tells the same of the finished book.
    const auto inspected = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", build.book});
    EXPECT_THAT(inspected.out, HasSubstr(GetParam().startPage));
}

INSTANTIATE_TEST_SUITE_P(Cases, BuildSummary, ::testing::ValuesIn(kSummaries),
                         [](const auto& info) { return std::string(info.param.name); });

// A copy of the stub with `header` written over its first bytes: only the header says which
// machine it is for.
std::string StubWithHeader(const testing::TempDir& dir, const std::string& name,
                           const std::string& header) {
    auto stub = testing::ReadBytes(QUILLMERE_STUB_PATH);
    std::copy(header.begin(), header.end(), stub.begin());
    const std::string path = dir.File(name);
    testing::WriteBytes(path, stub);
    return path;
}

// An MS-DOS header whose PE header, at 0x40, names `machine` (two bytes, little-endian).
std::string PeHeader(const std::string& machine) {
    std::string header(0x40, '\0');
    header[0] = 'M';
    header[1] = 'Z';
    header[0x3C] = 0x40;
    return header + std::string("PE\0\0", 4) + machine;
}

TEST(BuildSummary, NamesTheReadersPlatformFromTheStub) {
    testing::TempDir stubs;
    const std::pair<std::string, const char*> kinds[] = {
        {std::string("\x7F"
                     "ELF\x02\x01\x01",
                     7) +
             std::string(11, '\0') + "\x3E",
         "Linux x86-64"},
        {PeHeader("\x4C\x01"), "Windows i686"},
        {PeHeader("\x64\x86"), "Windows x86-64"},
        {PeHeader(std::string("\xC4\x01", 2)), "an unknown platform"},
    };
    for (const auto& [header, platform] : kinds) {
        Build build(Files{{"index.html", "x"}}, {}, StubWithHeader(stubs, platform, header));
        EXPECT_THAT(build.result.out,
                    HasSubstr("bytes, for readers on " + std::string(platform) + "\n"));
    }
}

TEST(BuildSummary, QuietBuildsSilently) {
    Build build(Files{{"index.html", "x"}}, {"--quiet"});
    EXPECT_EQ(build.result.exitCode, 0);
    EXPECT_EQ(build.result.out, "");
    EXPECT_EQ(build.result.err, "");
    EXPECT_TRUE(fs::exists(build.book));
}

const Files kFlawedBook = {
    {"index.html",
     "<a href=\"FAQ.html\">\n<a href=\"https://a.example/1\"><a href=\"https://a.example/2\">\n"
     "<a href=\"https://a.example/3\"><a href=\"https://a.example/4\"><a "
     "href=\"https://a.example/5\">"},
    {"about.html", "<a href=\"https://b.example/\">"}};

TEST(BuildCheck, WarnsInTheCompilerStyleAndCountsRepeats) {
    Build build(kFlawedBook);
    EXPECT_EQ(build.result.exitCode, 0) << build.result.err;
    EXPECT_TRUE(fs::exists(build.book));
    const std::vector<std::string> lines = WarningLines(build.result.err);
    ASSERT_EQ(lines.size(), 6u) << build.result.err;
    EXPECT_EQ(lines[0], "index.html:1: warning: \"FAQ.html\" is not in the book [missing]");
    EXPECT_THAT(lines[1], HasSubstr("index.html:2: warning: \"https://a.example/1\" opens inside"));
    EXPECT_THAT(lines[3], HasSubstr("index.html:3: warning: \"https://a.example/3\""));
    EXPECT_EQ(lines[4], "... and 2 more https links in index.html");
    EXPECT_THAT(lines[5], HasSubstr("about.html:1: warning: \"https://b.example/\""));

    // The finished book's package, deciphered, gives the same findings.
    const auto inspected = RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", build.book});
    EXPECT_EQ(inspected.exitCode, 0);
    EXPECT_EQ(WarningLines(inspected.err), lines);
    EXPECT_THAT(inspected.out, HasSubstr("\nsound\n"));
}

TEST(BuildCheck, StrictRefusesAndAllowSilencesAKind) {
    Build strict(kFlawedBook, {"--strict"});
    EXPECT_EQ(strict.result.exitCode, 1);
    EXPECT_THAT(strict.result.err,
                HasSubstr("quillmere-build: 7 warnings and --strict; nothing written"));
    EXPECT_FALSE(fs::exists(strict.book));

    Build allowed(kFlawedBook, {"--strict", "--allow", "https,missing"});
    EXPECT_EQ(allowed.result.exitCode, 0) << allowed.result.err;
    EXPECT_EQ(allowed.result.err, "");

    Build one(kFlawedBook, {"--allow=https"});
    EXPECT_EQ(WarningLines(one.result.err),
              std::vector<std::string>{
                  "index.html:1: warning: \"FAQ.html\" is not in the book [missing]"});

    const auto inspected =
        RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", one.book, "--strict", "--allow", "https"});
    EXPECT_EQ(inspected.exitCode, 1);
    EXPECT_THAT(inspected.out, HasSubstr("fault: 1 warning and --strict"));

    const auto unknown =
        RunProgram(QUILLMERE_BUILDER_PATH, {"--inspect", one.book, "--allow", "web"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_THAT(unknown.err, HasSubstr("--allow takes a kind of finding (missing, case,"));
}

}  // namespace
}  // namespace quillmere
