// Key paths in the double-byte code pages: a trail byte may be 0x5C ('\') or an ASCII letter,
// and is neither a separator nor folded.
#include <gtest/gtest.h>
#include <langinfo.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "RegFileSupport.h"
#include "ScopedEnvironment.h"
#include "platform/posix/RegFileRegistry.h"
#include "platform/posix/RegNames.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

// ASCII text as UTF-16LE.
std::string Utf16Le(std::string_view ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

using testing::Dword;
using testing::QueryRegValue;

TEST(RegDoubleByteTest, PathsSplitAndFoldByCharacter) {
    const struct {
        unsigned codePage;
        std::string path;
        std::string folded;
    } cases[] = {
        // Big5 "許" is B3 5C, Shift-JIS "表" is 95 5C.
        {950, "HKCU\\Garden\xB3\x5C\\LU", "hkey_current_user\\garden\xB3\x5C\\lu"},
        {932, "HKCU\\\x95\x5C\\LU", "hkey_current_user\\\x95\x5C\\lu"},
        // Big5 A4 41 and A4 61 are two characters, not one in two letter cases.
        {950, "HKCU\\\xA4\x41Z", "hkey_current_user\\\xA4\x41z"},
        {936, "HKCU\\\x81\x5C\x81", "hkey_current_user\\\x81\x5C\x81"},  // a lone lead at the end
        {1252, "HKCU\\Caf\xC9\\X", "hkey_current_user\\caf\xC9\\x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FoldRegKeyPath(c.path, LeadBytes(c.codePage)), c.folded);
    }
    EXPECT_EQ(FoldRegKeyPath("HKCU\\\xB3\x5C\\", LeadBytes(950)), std::nullopt);
    EXPECT_EQ(RegKeyAncestors("hkey_current_user\\a\xB3\x5C\\b", LeadBytes(950)),
              (std::vector<std::string>{"hkey_current_user", "hkey_current_user\\a\xB3\x5C"}));
}

// The machine may not carry a Big5 locale; one is compiled for the test when it can be.
bool UseBig5Locale(const testing::TempDir& dir) {
    const std::string command =
        "localedef -i zh_TW -f BIG5 '" + dir.File("zh_TW.BIG5") + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(RegDoubleByteTest, TermsKeyOfATitleEndingInATrailByteFiveCIsWrittenAndReadBack) {
    testing::TempDir locales;
    if (!UseBig5Locale(locales)) GTEST_SKIP() << "no Big5 locale can be made here";
    testing::ScopedEnvironment path("LOCPATH", locales.path().c_str());
    testing::ScopedLocale big5("zh_TW.BIG5");
    if (std::string(nl_langinfo(CODESET)) != "BIG5") GTEST_SKIP() << "the Big5 locale did not load";

    const std::string title = "Software\\Tallowbrook\\\xB3\x5C\\LU";  // 許
    const std::string other = "Software\\Tallowbrook\\\xA4\x61\\LU";  // a different character
    const std::string sameUpper = "Software\\Tallowbrook\\\xA4\x41\\LU";
    const struct {
        const char* what;
        std::string start;
    } files[] = {
        {"no file yet", ""},
        {"text in the locale's code page", "REGEDIT4\r\n\r\n"},
        {"what Windows' editor writes",
         std::string("\xFF\xFE", 2) + Utf16Le("Windows Registry Editor Version 5.00\r\n")},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        testing::TempDir dir;
        RegFileRegistry registry(f.start.empty() ? dir.File("registry.reg")
                                                 : dir.Write("registry.reg", f.start));
        ASSERT_TRUE(registry.WriteDword(title, "Terms", 1));
        ASSERT_TRUE(registry.WriteDword(other, "Terms", 2));
        EXPECT_EQ(QueryRegValue(registry, title, "Terms"), Dword(1));
        EXPECT_EQ(QueryRegValue(registry, other, "Terms"), Dword(2));
        EXPECT_EQ(QueryRegValue(registry, sameUpper, "Terms"), std::nullopt);
        EXPECT_EQ(QueryRegValue(registry, "Software\\Tallowbrook\\\xB3", "Terms"), std::nullopt);
    }
}

}  // namespace
}  // namespace quillmere
