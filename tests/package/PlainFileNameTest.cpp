#include <gtest/gtest.h>

#include <string>

#include "package/PlainFileName.h"

namespace quillmere {
namespace {

struct NameCase {
    std::string name;
    bool plainWithoutLeadBytes;
    bool plainInShiftJis;
};

// 0x95 0x5C is Shift-JIS for the character of "table", 0x83 0x5C the katakana "so".
const NameCase kNames[] = {
    {"index.html", true, true},
    {"a", true, true},
    {".hidden", true, true},
    {"a b.htm", true, true},
    {"\x95\x5C.htm", false, true},
    {"\x83\x5C\x94\x5C.gif", false, true},
    {"\x95\x5C\\x.htm", false, false},  // a real backslash after the character
    {"\\\x95\x5C.htm", false, false},
    {"\x95/x.htm", false, false},  // '/' is never a trail byte
    {"\x95:x.htm", false, false},
    {"\x95", true, true},  // a lone lead byte at the end is no separator
    {"", false, false},
    {".", false, false},
    {"..", false, false},
    {"pages/index.html", false, false},
    {"pages\\index.html", false, false},
    {"c:index.html", false, false},
    {"page.htm:stream", false, false},
    {std::string("a\0b.htm", 7), false, false},
    // Windows cannot hold these: devices, with any case and any extension, and trailing dots
    // or blanks, which it would drop.
    {"CON", false, false},
    {"con.htm", false, false},
    {"Prn.txt", false, false},
    {"aux.tar.gz", false, false},
    {"NUL", false, false},
    {"nul .txt", false, false},
    {"COM1", false, false},
    {"com9.exe", false, false},
    {"Lpt1.txt", false, false},
    {"LPT9", false, false},
    {"index.", false, false},
    {"index.htm ", false, false},
    {"\x95\x5C.", false, false},
    // Near misses that Windows holds as files.
    {"COM0", true, true},
    {"COM10.txt", true, true},
    {"LPT", true, true},
    {"console.htm", true, true},
    {"xcon.htm", true, true},
    {"con_.htm", true, true},
    {"nul-page.htm", true, true},
    {" con.htm", true, true},
};

TEST(PlainFileName, TrailBytesAreNotSeparatorsAndWindowsNamesAreRefused) {
    for (const NameCase& c : kNames) {
        EXPECT_EQ(IsPlainFileName(c.name, LeadBytes()), c.plainWithoutLeadBytes) << c.name;
        EXPECT_EQ(IsPlainFileName(c.name, LeadBytes(932)), c.plainInShiftJis) << c.name;
    }
}

TEST(PlainFileName, EachDoubleBytePageReadsItsOwnLeadBytes) {
    struct PageCase {
        unsigned page;
        const char* name;
        bool plain;
    };
    const PageCase cases[] = {
        {936, "\x81\x5C.htm", true},   // GBK
        {949, "\x81\x5C.htm", true},   // a Hangul-page lead byte: never a separator
        {950, "\xA5\x5C.htm", true},   // Big5
        {932, "\xA5\x5C.htm", false},  // a one-byte katakana in Shift-JIS, then a real backslash
        {1252, "\x95\x5C.htm", false}, {65001, "\x95\x5C.htm", false},
    };
    for (const PageCase& c : cases) {
        EXPECT_EQ(IsPlainFileName(c.name, LeadBytes(c.page)), c.plain) << c.page;
        EXPECT_FALSE(IsPlainFileName("a\\b.htm", LeadBytes(c.page))) << c.page;
    }
}

}  // namespace
}  // namespace quillmere
