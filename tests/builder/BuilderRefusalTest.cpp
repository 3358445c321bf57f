#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "BookFileBytes.h"
#include "records/RecordLayout.h"
#include "support/BookBuilder.h"
#include "support/NativeBackend.h"
#include "support/RunProgram.h"

namespace quillmere {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::RunProgram;

// A folder with a copy of the stub and a couple of pages; each case spoils one thing.
struct Workshop {
    testing::TempDir dir;
    std::string stub = dir.File("stub");
    std::string out = dir.File("book");
    std::string page = dir.Write("index.html", "<html></html>");
    std::string picture = dir.Write("pic.gif", "GIF89a");

    // Why the case cannot be set up on this system; empty when it can.
    std::string cannot;

    Workshop() { fs::copy_file(QUILLMERE_STUB_PATH, stub); }

    std::vector<std::string> Arguments(std::vector<std::string> extra = {}) const {
        std::vector<std::string> args = {"--stub", stub, "--out", out};
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    }
};

struct Refusal {
    const char* name;
    std::function<std::vector<std::string>(Workshop&)> prepare;
    int exitCode;
    std::string says;
};

// A path in a folder as the builder writes it.
std::string InFolder(const std::string& folder, const std::string& name) {
    return folder + testing::kNativeSeparator + name;
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

const Refusal kRefusals[] = {
    {"too_many_files",
     [](Workshop& w) {
         std::vector<std::string> files;
         for (int i = 0; i <= 100; ++i) files.push_back(w.dir.Write(std::to_string(i), "x"));
         return w.Arguments(files);
     },
     1, "at most 100"},
    {"name_of_92_bytes",
     [](Workshop& w) { return w.Arguments({w.dir.Write(Repeat('n', 92), "x")}); }, 1, "at most 91"},
    {"title_of_60_bytes",
     [](Workshop& w) {
         return w.Arguments({"--title", Repeat('t', 60), w.page});
     },
     1, "title is 60 bytes"},
    {"reseller_name_of_100_bytes",
     [](Workshop& w) {
         return w.Arguments({"--reseller-name", Repeat('n', 100), w.page});
     },
     1, "reseller name is 100 bytes"},
    {"reseller_site_of_100_bytes",
     [](Workshop& w) {
         return w.Arguments({"--reseller-site", Repeat('s', 100), w.page});
     },
     1, "reseller site is 100 bytes"},
    {"reseller_url_of_100_bytes",
     [](Workshop& w) {
         return w.Arguments({"--reseller-url", Repeat('u', 100), w.page});
     },
     1, "reseller url is 100 bytes"},
    {"description_of_596_bytes",
     [](Workshop& w) {
         return w.Arguments({"--description", Repeat('d', 596), w.page});
     },
     1, "description is 596 bytes"},
    {"subfolder_in_a_given_folder",
     [](Workshop& w) {
         fs::create_directory(w.dir.File("pages"));
         w.dir.Write("pages/a.htm", "a");
         fs::create_directory(w.dir.File("pages/sub"));
         return w.Arguments({w.dir.File("pages")});
     },
     1, InFolder("pages", "sub: a folder in a given folder")},
    {"link_in_a_given_folder",
     [](Workshop& w) {
         fs::create_directory(w.dir.File("pages"));
         w.dir.Write("pages/a.htm", "a");
         std::error_code error;
         fs::create_symlink(w.page, w.dir.File("pages/b.htm"), error);
         if (error || !fs::is_symlink(fs::symlink_status(w.dir.File("pages/b.htm")))) {
             w.cannot = "this system cannot make a symbolic link to a file";
         }
         return w.Arguments({w.dir.File("pages")});
     },
     1, InFolder("pages", "b.htm: a symbolic link in a given folder")},
    {"same_name_twice",
     [](Workshop& w) {
         fs::create_directory(w.dir.File("other"));
         return w.Arguments({w.page, w.dir.Write("other/INDEX.HTML", "y")});
     },
     1, "other/INDEX.HTML: another file is already packaged as \"index.html\""},
    {"no_files", [](Workshop& w) { return w.Arguments(); }, 1,
     "no files given: the viewer refuses a book whose package is empty"},
    {"only_an_empty_folder",
     [](Workshop& w) {
         fs::create_directory(w.dir.File("pages"));
         return w.Arguments({w.dir.File("pages")});
     },
     1, "no files given"},
    {"output_is_an_input",
     [](Workshop& w) {
         w.out = w.page;
         return w.Arguments({w.picture, w.page});
     },
     1, "index.html is the input "},
    {"output_is_an_input_by_a_hard_link",
     [](Workshop& w) {
         fs::create_hard_link(w.page, w.dir.File("same.html"));
         w.out = w.dir.File("same.html");
         return w.Arguments({w.page});
     },
     1, "same.html is the input "},
    {"output_inside_an_input_folder",
     [](Workshop& w) {
         fs::create_directory(w.dir.File("site"));
         w.dir.Write("site/index.html", "<p>");
         w.out = w.dir.File("site/book");
         return w.Arguments({w.dir.File("site")});
     },
     1, "book lies inside the input folder "},
    {"output_below_an_input_folder_by_another_path",
     [](Workshop& w) {
         fs::create_directories(w.dir.File("site"));
         w.dir.Write("site/index.html", "<p>");
         w.out = w.dir.File("site/./../site/book");
         return w.Arguments({w.dir.File("site/")});
     },
     1, "lies inside the input folder "},
    {"previous_book_in_an_input_folder",
     [](Workshop& w) {
         fs::create_directory(w.dir.File("site"));
         w.dir.Write("site/index.html", "<p>");
         testing::BookSpec recipe;
         recipe.outPath = w.dir.File("site/old-book");
         recipe.files = {{"a.html", "a"}};
         testing::BuildBook(recipe);
         return w.Arguments({w.dir.File("site")});
     },
     1, "old-book: a book or a stub, in the input folder "},
    {"output_in_a_missing_folder",
     [](Workshop& w) {
         w.out = w.dir.File("missing/book");
         return w.Arguments({w.page});
     },
     1, "book: cannot write: No such file or directory"},
    {"unreadable_input_says_why",
     [](Workshop& w) {
         return w.Arguments({w.page, w.dir.File("absent.html")});
     },
     1, "absent.html: cannot open for reading: No such file or directory"},
    {"windows_device_name",
     [](Workshop& w) {
         w.cannot = testing::kDeviceNamesAreReserved;
         if (!w.cannot.empty()) return w.Arguments();
         return w.Arguments({w.page, w.dir.Write("Con.htm", "y")});
     },
     1, "\"Con.htm\" is not a plain file name"},
    {"name_ending_in_a_dot", [](Workshop& w) { return w.Arguments({w.dir.Write("index.", "y")}); },
     1, "\"index.\" is not a plain file name"},
    // Shift-JIS 0x95 0x5C: plain only where 0x5C can be a trail byte.
    {"backslash_byte_for_any_code_page",
     [](Workshop& w) {
         w.cannot = testing::kNamesAreNotBytes;
         return w.cannot.empty() ? w.Arguments({w.dir.Write("\x95\x5C.htm", "y")}) : w.Arguments();
     },
     1, "in every code page; --code-page names the readers' code page"},
    {"backslash_byte_for_a_single_byte_page",
     [](Workshop& w) {
         w.cannot = testing::kNamesAreNotBytes;
         if (!w.cannot.empty()) return w.Arguments();
         return w.Arguments({"--code-page", "1252", w.dir.Write("\x95\x5C.htm", "y")});
     },
     1, "\"\x95\x5C.htm\" is not a plain file name; nothing written"},
    // Two different Shift-JIS characters, 0x83 0x41 and 0x83 0x61: one name in a code page
    // without lead bytes.
    {"trail_bytes_differing_in_case_for_any_code_page",
     [](Workshop& w) {
         return w.Arguments({w.dir.Write("\x83\x41.htm", "a"), w.dir.Write("\x83\x61.htm", "b")});
     },
     1, "already packaged"},
    {"same_name_twice_in_a_double_byte_page",
     [](Workshop& w) {
         return w.Arguments({"--code-page=932", w.page, w.dir.Write("INDEX.html", "b")});
     },
     1, "already packaged"},
    {"code_page_zero",
     [](Workshop& w) {
         return w.Arguments({"--code-page", "0", w.page});
     },
     2, "--code-page needs a code page from 1 to 65535"},
    {"stub_without_signatures",
     [](Workshop& w) {
         testing::WriteBytes(w.stub, std::vector<std::uint8_t>(4096, 0x41));
         return w.Arguments({w.page});
     },
     1, "signature is not in the file"},
    {"stub_with_a_second_block",
     [](Workshop& w) {
         auto bytes = testing::ReadBytes(w.stub);
         const std::size_t block = testing::BlockOffset(bytes);
         std::vector<std::uint8_t> copy(bytes.begin() + block,
                                        bytes.begin() + block + kStubRecordBlockSize);
         bytes.insert(bytes.end(), copy.begin(), copy.end());
         testing::WriteBytes(w.stub, bytes);
         return w.Arguments({w.page});
     },
     1, "occurs elsewhere"},
    {"stub_already_a_book",
     [](Workshop& w) {
         testing::BookSpec recipe;
         recipe.outPath = w.dir.File("first-book");
         recipe.files = {{"a.html", "a"}};
         w.stub = testing::BuildBook(recipe);
         return w.Arguments({w.page});
     },
     1, "already filled in"},
    {"output_is_the_stub",
     [](Workshop& w) {
         w.out = w.stub;
         return w.Arguments({w.page});
     },
     1, "is the stub itself"},
    {"output_is_the_stub_by_another_path",
     [](Workshop& w) {
         fs::create_directory(w.dir.File("sub"));
         // Where no symbolic link can be made (Wine), a hard link is another path too.
         std::error_code noSymlinks;
         fs::create_symlink(w.stub, w.dir.File("link"), noSymlinks);
         if (noSymlinks) fs::create_hard_link(w.stub, w.dir.File("link"));
         w.out = w.dir.File("sub/../link");
         return w.Arguments({w.page});
     },
     1, "is the stub itself"},
    {"output_is_a_folder",
     [](Workshop& w) {
         fs::create_directory(w.out);
         return w.Arguments({w.page});
     },
     1, "is a folder"},
    {"reseller_id_not_a_number",
     [](Workshop& w) {
         return w.Arguments({"--reseller-id", "12x", w.page});
     },
     2, "whole number"},
    {"reseller_id_negative",
     [](Workshop& w) {
         return w.Arguments({"--reseller-id=-5", w.page});
     },
     2, "whole number"},
    {"update_seed_too_large",
     [](Workshop& w) {
         return w.Arguments({"--update-seed", "2147483648", w.page});
     },
     2, "whole number"},
    {"unknown_option",
     [](Workshop& w) {
         return w.Arguments({"--colour", w.page});
     },
     2, "unknown option --colour"},
    {"option_without_value", [](Workshop& w) { return w.Arguments({"--title"}); }, 2,
     "--title needs a value"},
    {"no_output",
     [](Workshop& w) {
         return std::vector<std::string>{"--stub", w.stub, w.page};
     },
     2, "--out is required"},
};

// Every path under `folder` with the bytes of each file.
std::map<fs::path, std::string> Snapshot(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[entry.path()] = entry.is_regular_file() ? testing::ReadFileBytes(entry.path()) : "";
    }
    return files;
}

class BuilderRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(BuilderRefusal, SaysWhyAndWritesNothing) {
    Workshop workshop;
    const auto arguments = GetParam().prepare(workshop);
    if (!workshop.cannot.empty()) GTEST_SKIP() << workshop.cannot;
    const auto before = Snapshot(workshop.dir.path());

    const auto result = RunProgram(QUILLMERE_BUILDER_PATH, arguments);
    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.err;
    EXPECT_THAT(result.err, HasSubstr(GetParam().says));
    EXPECT_EQ(result.out, "");

    // Covers the stub, the inputs and an output that already existed: none is touched.
    EXPECT_EQ(Snapshot(workshop.dir.path()), before) << "files were added, removed or changed";
}

INSTANTIATE_TEST_SUITE_P(Cases, BuilderRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BuilderRefusal, LeavesAnEarlierBookAsItWas) {
    Workshop workshop;
    testing::WriteBytes(workshop.out, {1, 2, 3});
    const auto result = RunProgram(QUILLMERE_BUILDER_PATH,
                                   workshop.Arguments({"--title", Repeat('t', 60), workshop.page}));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(testing::ReadBytes(workshop.out), (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace
}  // namespace quillmere
