#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/posix/CodePages.h"
#include "platform/posix/PosixSystem.h"

namespace quillmere {
namespace {

// Each system's backend finds its own executable; the rest is POSIX's.
class AnySystem : public PosixSystem {
  public:
    std::optional<std::string> ModuleFilePath() override { return std::nullopt; }
};

TEST(CodePagesTest, CharsetNamesMapToCodePages) {
    struct Case {
        const char* charset;
        unsigned codePage;
    };
    const Case cases[] = {
        {"UTF-8", 65001}, {"utf8", 65001},       {"SHIFT_JIS", 932},     {"SJIS", 932},
        {"CP932", 932},   {"WINDOWS-31J", 932},  {"GBK", 936},           {"GB2312", 936},
        {"GB18030", 936}, {"CP936", 936},        {"EUC-CN", 936},        {"EUC-KR", 949},
        {"CP949", 949},   {"UHC", 949},          {"BIG5", 950},          {"BIG5-HKSCS", 950},
        {"CP950", 950},   {"EUC-JP", 51932},     {"ISO-8859-1", 1252},   {"ANSI_X3.4-1968", 1252},
        {"CP1251", 1251}, {"ISO-8859-5", 28595}, {"ISO-8859-15", 28605}, {"KOI8-R", 20866},
        {"", 1252},       {"NO-SUCH-SET", 1252}, {"UTF-16", 1252},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodePageForCharset(c.charset), c.codePage) << c.charset;
    }
}

TEST(CodePagesTest, CharsetNameForEveryCodePageReadsBackAsThatPage) {
    const unsigned codePages[] = {65001, 932,   936,   949,   950,   51932, 874,  1250,
                                  1251,  1252,  1253,  1254,  1255,  1256,  1257, 1258,
                                  28592, 28595, 28599, 28605, 20866, 21866};
    for (unsigned codePage : codePages) {
        EXPECT_EQ(CodePageForCharset(CharsetNameForCodePage(codePage)), codePage) << codePage;
    }
    EXPECT_STREQ(CharsetNameForCodePage(1252), "windows-1252");
    EXPECT_STREQ(CharsetNameForCodePage(932), "Shift_JIS");
    EXPECT_STREQ(CharsetNameForCodePage(12345), "windows-1252");
}

TEST(PosixSystemTest, AnsiCodePageFollowsTheLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    AnySystem system;

    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    EXPECT_EQ(system.AnsiCodePage(), 1252u);
    // glibc has C.UTF-8 built in.
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    EXPECT_EQ(system.AnsiCodePage(), 65001u);
    std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace quillmere
