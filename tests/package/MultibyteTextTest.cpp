#include <gtest/gtest.h>

#include "package/MultibyteText.h"

namespace quillmere {
namespace {

const LeadBytes kShiftJis(932);
const LeadBytes kNone;

TEST(MultibyteText, SearchesNeverStartOnATrailByte) {
    // "\x95\x5C" and "\x83\x5C" end in a backslash byte that is part of the character.
    const std::string_view text = "\x95\x5C\x83\x5C\\a\\";
    EXPECT_EQ(FindText(text, "\\", 0, kShiftJis), 4u);
    EXPECT_EQ(FindText(text, "\\", 0, kNone), 1u);
    EXPECT_EQ(FindText(text, "\\a", 0, kShiftJis), 4u);
    EXPECT_EQ(FindText(text, "\x5C\x83", 0, kShiftJis), kNotFound);
    EXPECT_EQ(FindLastChar(text, '\\', kShiftJis), 6u);
    EXPECT_EQ(FindLastChar("\x95\x5C", '\\', kShiftJis), kNotFound);
    EXPECT_EQ(FindText("", "", 0, kShiftJis), 0u);
}

TEST(MultibyteText, CaseRulesTouchOnlySingleByteLetters) {
    EXPECT_EQ(LowerAnsi("AB\x83\x41Z\xC4", kShiftJis), "ab\x83\x41z\xC4");
    EXPECT_EQ(LowerAnsi("\x83\x41", kNone), "\x83\x61");
    EXPECT_TRUE(EqualsIgnoringCase("Index.HTM", "index.htm", kShiftJis));
    EXPECT_FALSE(EqualsIgnoringCase("\x83\x41", "\x83\x61", kShiftJis));
    EXPECT_FALSE(EqualsIgnoringCase("ab", "abc", kShiftJis));
}

}  // namespace
}  // namespace quillmere
