#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "BookCheck.h"

namespace quillmere::builder {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

struct Expected {
    std::string page;
    std::size_t line;
    const char* kind;
    std::string says;
};

struct CheckCase {
    const char* name;
    Files files;
    std::vector<Expected> findings;
    unsigned codePage = 0;
};

const std::string kLaunch = "http://launch.corvane-club.net/";

const CheckCase kCases[] = {
    {"a_page_of_sound_references",
     {{"index.html",
       "<html><!-- <a href=\"gone.html\"> --><a href='about.html?x=1#part'>a</a>\n"
       "<a href=#top>top</a><a href=\"my%20notes.html\">n</a><a href=\"http://example.org\">w</a>\n"
       "<a href=\"" +
           kLaunch +
           "?sw=Tool.exe\">run</a><a href=\"RVX_SOFTWARE_LINK\">s</a>\n"
           "<script>document.write('<img src=\"none.png\">')</script><a "
           "href=\"javascript:history.back()\">b</a>\n"
           "<img src=pic.gif><a href=pic.gif>big</a> RVX_BONUS_START x RVX_BONUS_END\n"
           "RVX_SW_Editor RVX_VERSION_620_5_a/b RVX_SHOWVERSION RVX_REPLACE_NAMES rvx_other"},
      {"about.html", ""},
      {"my notes.html", ""},
      {"pic.gif", "GIF"},
      {"Tool.exe", "MZ"}},
     {}},
    {"references_to_files_not_in_the_book",
     {{"index.html",
       "<a href=\"FAQ.html\">\n<img\n src=\"gone.png\">\n<body background=bg.gif>\n"
       "<p style=\"background: url( 'x.png' )\">\n<style>\n/* url(ignored.png) */ b { "
       "background: url(y.png) }</style>"},
      {"site.css", "\n\na { background: url(\"z.png\") }"}},
     {{"index.html", 1, "missing", "\"FAQ.html\" is not in the book"},
      {"index.html", 3, "missing", "\"gone.png\""},
      {"index.html", 4, "missing", "\"bg.gif\""},
      {"index.html", 5, "missing", "\"x.png\""},
      {"index.html", 7, "missing", "\"y.png\""},
      {"site.css", 3, "missing", "\"z.png\""}}},
    {"a_name_that_matches_only_in_letter_case",
     {{"index.html", "<a href=\"Utf16.html\">"}, {"UTF16.html", ""}},
     {{"index.html", 1, "case",
       "\"Utf16.html\" matches \"UTF16.html\" only in letter case: found on Windows, not on "
       "Linux"}}},
    {"folders_roots_and_absolute_paths",
     {{"index.html",
       "<img src=\"images/a.png\"><img src=\"pics\\b.png\">\n<a href=\"/\">\n"
       "<a href=\"/docs/x.html\"><img src=\"C:\\pics\\c.png\"><a href=\"file:///tmp/x.html\">"},
      {"a.png", ""}},
     {{"index.html", 1, "folder", "a.png is in the book: refer to it by its name alone"},
      {"index.html", 1, "folder", "package the file and refer to it by name"},
      {"index.html", 2, "absolute", "\"/\" is the file system's root"},
      {"index.html", 3, "absolute", "\"/docs/x.html\" is an absolute path"},
      {"index.html", 3, "absolute", "\"C:\\pics\\c.png\" is an absolute local path"},
      {"index.html", 3, "absolute", "\"file:///tmp/x.html\" is an absolute local path"}}},
    {"links_the_readers_browser_does_not_get",
     {{"index.html",
       "<a href=\"https://example.org/\">\n<a href=\"HTTP://example.org/\"><a "
       "href=\"mailto:a@example.org\">"}},
     {{"index.html", 1, "https", "opens inside the book's window, not in the reader's browser"},
      {"index.html", 2, "scheme", "only a lower-case http:// link goes to the reader's browser"},
      {"index.html", 2, "scheme",
       "\"mailto:a@example.org\" is not handed to the reader's browser"}}},
    {"program_links",
     {{"index.html",
       "<a href=\"Tool.exe\">\n<a href=\"http://example.org/setup.exe\">\n<a href=\"" + kLaunch +
           "?sw=Other.exe\">\n<a href=\"" + kLaunch + "?sw=tool.exe\"><a href=\"" + kLaunch +
           "?sw=readme.txt\">"},
      {"TOOL.EXE", "MZ"}},
     {{"index.html", 1, "exe-link", "write " + kLaunch + "?sw=TOOL.EXE to start"},
      {"index.html", 2, "exe-link", "the viewer starts it as a local program, which fails"},
      {"index.html", 3, "launch", "names \"Other.exe\", which the book does not hold"},
      {"index.html", 4, "launch", "names \"readme.txt\", which is no program"}}},
    {"a_link_to_a_file_the_web_view_only_saves",
     {{"index.html", "<a href=\"manual.pdf\"><a href=\"all.zip\"><img src=\"pic.png\">"},
      {"manual.pdf", "%PDF"},
      {"all.zip", "PK"},
      {"pic.png", ""}},
     {{"index.html", 1, "download", "\"manual.pdf\" is a file the web view offers to save"},
      {"index.html", 1, "download", "\"all.zip\""}}},
    {"a_utf16_page_cut_at_its_first_zero_byte",
     {{"index.html", std::string("\xFF\xFE<\0p\0>\0", 8)}},
     {{"index.html", 1, "zero-byte",
       "the viewer shows only its first 3 of 8 bytes; it looks like UTF-16"}}},
    {"an_ansi_page_with_a_zero_byte_and_what_follows_unread",
     {{"index.html", std::string("ab\ncd\0<a href=\"gone.html\">", 26)}},
     {{"index.html", 2, "zero-byte", "only its first 5 of 26 bytes"}}},
    {"bonus_markers_that_do_not_pair",
     {{"index.html",
       "RVX_BONUS_END\nRVX_BONUS_START a <!-- note --> b\nRVX_BONUS_START\nRVX_BONUS_END\n"
       "RVX_BONUS_START"}},
     {{"index.html", 1, "bonus", "RVX_BONUS_END has no RVX_BONUS_START"},
      {"index.html", 2, "bonus", "\"-->\" inside a bonus section: with --hide-bonus the rest"},
      {"index.html", 3, "bonus", "RVX_BONUS_START inside a bonus section (from line 2)"},
      {"index.html", 5, "bonus", "RVX_BONUS_START has no RVX_BONUS_END"}}},
    {"rvx_words_that_are_no_tags",
     {{"index.html",
       "RVX_REPLACE_TITLE\nRvx_Replace_Name\nRVX_VERSION_1_2_a/b RVX_VERSION_1_3_a/b\n"
       "RVX_SW_Editor RVX_SW_Other\nRVX_SHOWVERSION"},
      {"other.html", "\nRVX_SHOWVERSION"}},
     {{"index.html", 1, "tag", "RVX_REPLACE_TITLE is no tag: it stays in the page as text"},
      {"index.html", 2, "tag", "did you mean RVX_REPLACE_NAME?"},
      {"index.html", 3, "tag", "a second RVX_VERSION"},
      {"index.html", 4, "tag", "a second RVX_SW_"},
      {"other.html", 2, "tag", "RVX_SHOWVERSION without RVX_VERSION"}}},
    {"a_book_without_pages",
     {{"logo.gif", "GIF"}, {"Tool.exe", "MZ"}},
     {{"", 0, "no-page", "\"No HTML file in ebook\""}}},
    // Shift-JIS: 0x95 0x5C is one character, not a backslash; the R after 0x83 is a trail byte.
    {"two_byte_characters_in_their_code_page",
     {{"index.html", "<a href=\"\x95\x5C.htm\">\x83RVX_NONE"}, {"\x95\x5C.htm", ""}},
     {},
     932},
    {"the_same_bytes_read_without_lead_bytes",
     {{"index.html", "<a href=\"\x95\x5C.htm\">\x83RVX_NONE"}, {"\x95\x5C.htm", ""}},
     {{"index.html", 1, "folder", "names a folder"}, {"index.html", 1, "tag", "RVX_NONE"}}},
};

class PageCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(PageCheck, FindsWhatTheReaderWouldMeet) {
    std::vector<BookEntry> entries;
    for (const auto& [name, bytes] : GetParam().files) entries.push_back({name, bytes});
    const Findings findings =
        CheckBook(BookContents(entries, LeadBytes(GetParam().codePage)), 1000, std::nullopt);

    std::string got;
    for (const Finding& f : findings) {
        got += f.page + ":" + std::to_string(f.line) + ": [" + std::string(KindName(f.kind)) +
               "] " + f.message + "\n";
    }
    const auto& expected = GetParam().findings;
    ASSERT_EQ(findings.size(), expected.size()) << got;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(got);
        EXPECT_EQ(findings[i].page, expected[i].page);
        EXPECT_EQ(findings[i].line, expected[i].line);
        EXPECT_EQ(KindName(findings[i].kind), expected[i].kind);
        EXPECT_NE(findings[i].message.find(expected[i].says), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PageCheck, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PageCheckSize, ABookAboveTheLimitIsFoundOnlyWhereThereIsOne) {
    const BookContents book({{"index.html", ""}}, LeadBytes());
    const Findings above = CheckBook(book, kLargestI686Book + 1, kLargestI686Book);
    ASSERT_EQ(above.size(), 1u);
    EXPECT_EQ(KindName(above[0].kind), "size");
    EXPECT_EQ(above[0].page, "");
    EXPECT_TRUE(CheckBook(book, kLargestI686Book, kLargestI686Book).empty());
    EXPECT_TRUE(CheckBook(book, kLargestI686Book * 4, std::nullopt).empty());
}

}  // namespace
}  // namespace quillmere::builder
