#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/RegFileEditor.h"
#include "platform/posix/RegFileParser.h"
#include "platform/posix/RegHive.h"
#include "platform/posix/RegNames.h"

namespace quillmere {
namespace {

constexpr std::string_view kSample =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; comment\r\n"
    "[HKEY_CURRENT_USER\\Software\\Tallowbrook\\Adverts]\r\n"
    "\"SWUPD\"=\" 620_12\"\r\n"
    "\"Hex\"=hex:00,01,02,\\\r\n"
    "  03,04,\\\r\n"
    "  05\r\n"
    "\"Gone\"=-\r\n"
    "garbled\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Tallowbrook\\Adverts]\r\n"
    "\"Machine\"=dword:00000001\r\n"
    "[-HKEY_CURRENT_USER\\Software\\Tallowbrook\\Old]\r\n"
    "[HKEY_CURRENT_USER\\Software\\Tallowbrook\\Adverts]\r\n"
    "\"Text\"=\"a \\\"b\\\" c\"\r\n"
    "\"Wide\"=hex(2):41,00,00,00\r\n";

std::string DwordBytes(std::uint32_t v) {
    std::string data;
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>(v >> (8 * i)));
    return data;
}

// Whatever the file holds, even cut off anywhere, setting one value leaves every other key and
// value exactly as it was, and the value reads back.
TEST(RegFileEditTest, SettingAValueChangesNothingElseInAnyPrefixOfAFile) {
    struct Target {
        const char* key;
        const char* name;
    };
    const std::vector<Target> targets = {
        {"HKEY_CURRENT_USER\\Software\\Tallowbrook\\Adverts", "Hex"},
        {"HKEY_CURRENT_USER\\Software\\Tallowbrook\\Adverts", "Gone"},
        {"HKEY_CURRENT_USER\\Software\\Tallowbrook\\Adverts", "New"},
        {"HKEY_CURRENT_USER\\Software\\Tallowbrook\\Old", "Terms"},
        {"HKEY_CURRENT_USER\\Fresh\\Key", "Terms"},
    };
    for (std::size_t cut = 0; cut <= kSample.size(); ++cut) {
        const std::string before(kSample.substr(0, cut));
        const RegHive beforeHive = RegHive::FromDocument(ParseRegText(before), RegEncoding::Ansi);
        for (const auto& target : targets) {
            SCOPED_TRACE(testing::Message() << "cut at " << cut << ", " << target.name);
            RegDocument doc = ParseRegText(before);
            ASSERT_TRUE(SetRegValueLine(doc, target.key, target.name, "dword:0000abcd"));
            const std::string after = RenderRegLines(doc.lines);
            RegHive afterHive = RegHive::FromDocument(ParseRegText(after), RegEncoding::Ansi);

            const std::string key = *FoldRegKeyPath(target.key);
            const std::string name = FoldRegName(target.name);
            auto keys = afterHive.Keys();
            ASSERT_TRUE(keys.count(key));
            ASSERT_TRUE(keys[key].count(name));
            EXPECT_EQ(keys[key][name].type, 4u);
            EXPECT_EQ(keys[key][name].data, DwordBytes(0xabcd));
            keys[key].erase(name);

            auto expected = beforeHive.Keys();
            expected[key].erase(name);
            // A new key brings its parents into being, empty.
            for (std::size_t sep = key.find('\\'); sep != std::string::npos;
                 sep = key.find('\\', sep + 1)) {
                expected.try_emplace(key.substr(0, sep));
            }
            ASSERT_EQ(keys.size(), expected.size());
            for (const auto& [path, values] : expected) {
                ASSERT_TRUE(keys.count(path)) << path;
                ASSERT_EQ(keys[path].size(), values.size()) << path;
                for (const auto& [valueName, value] : values) {
                    ASSERT_TRUE(keys[path].count(valueName)) << path << " " << valueName;
                    EXPECT_EQ(keys[path][valueName].type, value.type);
                    EXPECT_EQ(keys[path][valueName].data, value.data);
                }
            }
            // Every line of the old text is still there, in order.
            std::size_t from = 0;
            for (const auto& line : ParseRegText(before).lines) {
                if (line.text.empty()) continue;
                bool replaced = line.text.starts_with(std::string("\"") + target.name + "\"") ||
                                line.text.starts_with(" ");
                if (replaced) continue;
                auto at = after.find(line.text, from);
                ASSERT_NE(at, std::string::npos) << line.text;
                from = at + line.text.size();
            }
        }
    }
}

// A list line ending in two backslashes: the first continues the list onto the blank line, and
// the blank line ends it, so neither the key after it nor a key the edit appends is swallowed.
TEST(RegFileEditTest, ABlankLineEndsAListWhoseLastLineEndsInTwoBackslashes) {
    const std::string text =
        "Windows Registry Editor Version 5.00\n"
        "[HKEY_CURRENT_USER\\A]\n"
        "\"x\"=hex:01,\\\\\n"
        "\n"
        "[HKEY_CURRENT_USER\\B]\n"
        "\"y\"=dword:00000001\n"
        "[HKEY_CURRENT_USER\\A]\n"
        "\"z\"=hex:02,\\\\\n";
    const RegHive read = RegHive::FromDocument(ParseRegText(text), RegEncoding::Ansi);
    ASSERT_TRUE(read.FindKey("HKEY_CURRENT_USER\\B"));
    EXPECT_EQ(read.FindKey("HKEY_CURRENT_USER\\B")->count("y"), 1u);

    RegDocument doc = ParseRegText(text);
    ASSERT_TRUE(SetRegValueLine(doc, "HKEY_CURRENT_USER\\C", "Terms", "dword:00000001"));
    const RegHive edited =
        RegHive::FromDocument(ParseRegText(RenderRegLines(doc.lines)), RegEncoding::Ansi);
    const RegHiveKey* written = edited.FindKey("HKEY_CURRENT_USER\\C");
    ASSERT_TRUE(written);
    ASSERT_EQ(written->count("terms"), 1u);
    EXPECT_EQ(written->at("terms").data, DwordBytes(1));
}

// The reader takes any white space after a list's trailing backslash; a value the edit adds
// after such a line must still stand on its own.
TEST(RegFileEditTest, AValueAddedAfterAListEndingInBackslashAndWhiteSpaceReadsBack) {
    for (const char* tail : {"\\ \t", "\\\v", "\\\f"}) {
        SCOPED_TRACE(tail);
        const std::string text = std::string(
                                     "Windows Registry Editor Version 5.00\n"
                                     "[HKEY_CURRENT_USER\\A]\n"
                                     "\"x\"=hex:01,") +
                                 tail + "\n";
        RegDocument doc = ParseRegText(text);
        ASSERT_TRUE(SetRegValueLine(doc, "HKEY_CURRENT_USER\\A", "Terms", "dword:00000001"));
        const RegHive edited =
            RegHive::FromDocument(ParseRegText(RenderRegLines(doc.lines)), RegEncoding::Ansi);
        const RegHiveKey* key = edited.FindKey("HKEY_CURRENT_USER\\A");
        ASSERT_TRUE(key);
        ASSERT_EQ(key->count("terms"), 1u);
        EXPECT_EQ(key->at("terms").data, DwordBytes(1));
    }
}

}  // namespace
}  // namespace quillmere
