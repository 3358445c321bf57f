#include <gtest/gtest.h>

#include <string>

#include "package/PathHelpers.h"

namespace quillmere {
namespace {

const TextRules kWindows{LeadBytes(), '\\'};
const TextRules kPosix{LeadBytes(), '/'};
const TextRules kShiftJis{LeadBytes(932), '\\'};

struct PathCase {
    const char* path;
    const char* directory;
    const char* fileName;
    const char* extension;
};

TEST(PathHelpers, SplitAtTheLastBackslashUnderWindowsRules) {
    const PathCase cases[] = {
        {"c:\\books\\a.exe", "c:\\books\\", "a.exe", ".exe"},
        {"a.exe", "", "a.exe", ".exe"},
        // A forward slash is an ordinary character here.
        {"c:/books/a.exe", "", "c:/books/a.exe", ".exe"},
        {"C:\\Temp\\Index.HTML", "C:\\Temp\\", "index.html", ".html"},
        {"Page.HTM", "", "page.htm", ".htm"},
        {"README", "", "readme", "readme"},
        // The last dot, even when it sits in a folder name.
        {"c:\\my.book\\page", "c:\\my.book\\", "page", ".book\\page"},
        {"c:\\books\\", "c:\\books\\", "", "c:\\books\\"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetDirectoryPart(c.path, kWindows), c.directory);
        EXPECT_EQ(GetFileNamePart(c.path, kWindows), c.fileName);
        EXPECT_EQ(GetExtensionPart(c.path, kWindows), c.extension);
    }
}

TEST(PathHelpers, SplitAtTheLastSlashUnderPosixRules) {
    const PathCase cases[] = {
        {"/home/Reader/Books/Guide.EXE", "/home/Reader/Books/", "guide.exe", ".exe"},
        {"c:\\books\\a.exe", "", "c:\\books\\a.exe", ".exe"},
        {"/opt/my.book/page", "/opt/my.book/", "page", ".book/page"},
        {"/", "/", "", "/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetDirectoryPart(c.path, kPosix), c.directory);
        EXPECT_EQ(GetFileNamePart(c.path, kPosix), c.fileName);
        EXPECT_EQ(GetExtensionPart(c.path, kPosix), c.extension);
    }
}

TEST(PathHelpers, ShiftJisTrailBytesAreNeitherSeparatorsNorLetters) {
    // "\x95\x5C" is one character whose second byte is a backslash; "\x83\x41" one whose second
    // byte is 'A'. Neither may split the path or be lowered.
    const PathCase cases[] = {
        {"c:\\\x95\x5C\\Page.HTM", "c:\\\x95\x5C\\", "page.htm", ".htm"},
        {"c:\\books\\\x95\x5C", "c:\\books\\", "\x95\x5C", "c:\\books\\\x95\x5C"},
        {"C:\\\x83\x41\\\x83\x41.TXT", "C:\\\x83\x41\\", "\x83\x41.txt", ".txt"},
        // A lead byte at the very end stands alone.
        {"c:\\a\\b\x95", "c:\\a\\", "b\x95", "c:\\a\\b\x95"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetDirectoryPart(c.path, kShiftJis), c.directory);
        EXPECT_EQ(GetFileNamePart(c.path, kShiftJis), c.fileName);
        EXPECT_EQ(GetExtensionPart(c.path, kShiftJis), c.extension);
    }
    // Without the code page the same bytes do split: the rules are what protects them.
    EXPECT_EQ(GetDirectoryPart("c:\\books\\\x95\x5C", kWindows), "c:\\books\\\x95\x5C");
}

TEST(PathHelpers, StripQueryCutsAtTheLastQuestionMark) {
    EXPECT_EQ(StripQuery("pages\\b.exe?x=1?y=2", kWindows), "pages\\b.exe?x=1");
    EXPECT_EQ(StripQuery("pages\\B.exe", kWindows), "pages\\B.exe");
    EXPECT_EQ(StripQuery("page?", kWindows), "page");
}

// The definition as first written: recursive over the text after each '&'.
std::string RecursiveQueryValue(const std::string& url, const std::string& key) {
    const std::size_t mark = url.rfind('?');
    const std::string q = mark == std::string::npos ? url : url.substr(mark + 1);
    const std::size_t at = q.find(key + "=");
    if (at == std::string::npos) return "";
    const std::string v = q.substr(at + key.size() + 1);
    const std::size_t amp = v.find('&');
    if (amp == std::string::npos) return v;
    return v.substr(0, amp) + RecursiveQueryValue(v.substr(amp + 1), key);
}

TEST(PathHelpers, GetQueryValueCollectsEveryLaterOccurrenceOfTheKey) {
    struct Case {
        const char* url;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"page?p=abc&r=5", "r", "5"},
        {"page?p=abc&r=5", "u", ""},
        {"page?p=a&xp=b", "p", "ab"},
        {"page?p=a&r=1", "p", "a"},
        {"page?r=1&p=", "p", ""},
        {"p=1&p=2&q=3&p=4", "p", "124"},
        {"a?p=old?p=new&p=again", "p", "newagain"},
        {"page?p=a&&&p=b&", "p", "ab"},
        {"page?P=a", "p", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.url) + " / " + c.key);
        EXPECT_EQ(GetQueryValue(c.url, c.key, kWindows), c.value);
        EXPECT_EQ(RecursiveQueryValue(c.url, c.key), c.value);
    }
}

TEST(PathHelpers, GetQueryValueSurvivesAHundredThousandAmpersands) {
    std::string url = "page?";
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        url += "p=" + std::to_string(i % 10) + "&x=1&";
        expected += std::to_string(i % 10);
    }
    EXPECT_EQ(GetQueryValue(url, "p", kWindows), expected);
    EXPECT_EQ(GetQueryValue(url, "x", kWindows), std::string(100000, '1'));
}

TEST(PathHelpers, GetQueryValueSkipsKeysThatStartOnATrailByte) {
    // "\x83\x70" is one character whose trail byte is 'p'; the key begins only at the next 'p'.
    EXPECT_EQ(GetQueryValue("page?\x83p=no&p=yes", "p", kShiftJis), "yes");
    EXPECT_EQ(GetQueryValue("page?\x83p=no&p=yes", "p", kWindows), "noyes");
}

}  // namespace
}  // namespace quillmere
