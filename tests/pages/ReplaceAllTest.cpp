#include <gtest/gtest.h>

#include <string>

#include "pages/ReplaceAll.h"

namespace quillmere {
namespace {

struct ReplaceCase {
    const char* name;
    std::string text;
    std::string tag;
    std::string replacement;
    std::string expected;
};

const ReplaceCase kSingleByteCases[] = {
    {"Absent", "no tags here", "TAG", "x", "no tags here"},
    {"StartMiddleEnd", "TAG a TAG b TAG", "TAG", "<v>", "<v> a <v> b <v>"},
    {"Adjacent", "TAGTAG", "TAG", "1", "11"},
    {"NonOverlappingLeftToRight", "aaaaa", "aa", "b", "bba"},
    {"InsertedTextNotSearchedAgain", "X.X", "X", "XX", "XX.XX"},
    {"ReplacementFormsTagWithNeighbour", "TATAG", "TAG", "G", "TAG"},
    {"EmptyReplacementDeletes", "aTAGbTAGc", "TAG", "", "abc"},
    {"CaseSensitive", "tag Tag TAg", "TAG", "x", "tag Tag TAg"},
    {"EmptyText", "", "TAG", "x", ""},
    {"EmbeddedZeroKept", std::string("a\0TAG", 5), "TAG", "b", std::string("a\0b", 3)},
};

class ReplaceAllSingleByte : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllSingleByte, ReplacesEveryOccurrenceOnce) {
    const ReplaceCase& c = GetParam();
    std::string text = c.text;
    ReplaceAll(text, c.tag, c.replacement, LeadBytes());
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceAllSingleByte, ::testing::ValuesIn(kSingleByteCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The buffers a page's steps share carry nothing from one call into the next, whichever sizes
// come in turn; a call that finds nothing leaves the text where it was.
TEST(ReplaceAllSharedBuffers, EveryCallGivesWhatFreshBuffersGive) {
    const std::string longText = std::string(5000, '.') + "TAG" + std::string(3000, '-') + "TAG";
    const std::string longExpected = std::string(5000, '.') + "a long replacement" +
                                     std::string(3000, '-') + "a long replacement";
    ReplaceBuffers buffers;
    for (int round = 0; round < 2; ++round) {
        std::string text = longText;
        ReplaceAll(text, "TAG", "a long replacement", LeadBytes(), buffers);
        EXPECT_EQ(text, longExpected);
        for (const ReplaceCase& c : kSingleByteCases) {
            SCOPED_TRACE(c.name);
            text = c.text;
            const char* before = text.data();
            ReplaceAll(text, c.tag, c.replacement, LeadBytes(), buffers);
            EXPECT_EQ(text, c.expected);
            if (c.text == c.expected) {
                EXPECT_EQ(text.data(), before);
            }
        }
    }
}

// Shift-JIS: 0x82 is a lead byte, so the byte after it is part of the same character and can
// never begin a tag.
TEST(ReplaceAllDoubleByte, TrailByteNeverBeginsMatch) {
    const LeadBytes shiftJis(932);
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        // 'T' after a lead byte is a trail byte.
        {"\x82TAG", "\x82TAG"},
        // A complete two-byte character before the tag: the tag starts on a boundary.
        {"\x82\xA0TAG", "\x82\xA0v"},
        // Boundaries are followed past a match: the lead byte after the first tag swallows the
        // second tag's 'T'.
        {"TAG\x82TAG TAG", "v\x82TAG v"},
        // A lead byte as the last byte stands alone.
        {"TAG\x82", "v\x82"},
        // Trail byte 0x54 ('T') of a character whose lead is itself preceded by a pair.
        {"\x82\xA0\x81TAG", "\x82\xA0\x81TAG"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        ReplaceAll(text, "TAG", "v", shiftJis);
        EXPECT_EQ(text, c.expected);
    }
}

TEST(ReplaceAllDoubleByte, WithoutLeadBytesEveryByteStandsAlone) {
    std::string text = "\x82TAG";
    ReplaceAll(text, "TAG", "v", LeadBytes());
    EXPECT_EQ(text, "\x82v");
}

}  // namespace
}  // namespace quillmere
