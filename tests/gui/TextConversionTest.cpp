// Text in the user's code page reaches GTK as valid UTF-8, whatever its bytes.
#include <glib.h>
#include <gtest/gtest.h>

#include "platform/gtk/GtkText.h"

namespace quillmere {
namespace {

TEST(TextConversionTest, CodePageTextBecomesValidUtf8) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* charset;
        std::string utf8;
    };
    const Case cases[] = {
        {"utf-8 kept", "caf\xc3\xa9", "UTF-8", "caf\xc3\xa9"},
        {"no charset means utf-8", "plain", nullptr, "plain"},
        {"broken utf-8 repaired",
         "ab\xff"
         "cd",
         "UTF-8",
         "ab\xef\xbf\xbd"
         "cd"},
        {"western", "caf\xe9", "windows-1252", "caf\xc3\xa9"},
        {"shift-jis", "\x93\xfa\x96\x7b", "Shift_JIS", "\xe6\x97\xa5\xe6\x9c\xac"},
        // A lead byte with nothing after it: marked, the rest kept.
        {"cut double-byte", "ab\x93", "Shift_JIS", "ab\xef\xbf\xbd"},
        {"undefined byte", "a\x81z", "windows-1252", "a\xef\xbf\xbdz"},
        {"ends at nul", std::string("ab\0cd", 5), "windows-1252", "ab"},
        {"unknown charset", "caf\xc3\xa9", "no-such-charset", "caf\xc3\xa9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string out = ToUtf8(c.bytes, c.charset);
        EXPECT_EQ(out, c.utf8);
        EXPECT_TRUE(g_utf8_validate(out.data(), static_cast<gssize>(out.size()), nullptr));
    }
}

TEST(TextConversionTest, WindowsLineBreaksBecomePlain) {
    EXPECT_EQ(WithPlainLineBreaks("a\r\n\r\nb\rc\n"), "a\n\nb\rc\n");
}

}  // namespace
}  // namespace quillmere
