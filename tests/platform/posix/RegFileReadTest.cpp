#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "RegFileSupport.h"
#include "platform/posix/RegFileRegistry.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::Bytes;
using testing::Dword;
using testing::QueriedValue;
using testing::QueryRegValue;
using testing::Sz;

constexpr RegistryValueType kExpand = RegistryValueType::ExpandString;
constexpr RegistryValueType kMulti = RegistryValueType::MultiString;
constexpr RegistryValueType kBinary = RegistryValueType::Binary;

struct ValueCase {
    const char* subkey;
    const char* name;
    std::optional<QueriedValue> expected;
};

void ExpectValues(Registry& registry, const std::vector<ValueCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(QueryRegValue(registry, c.subkey, c.name), c.expected)
            << c.subkey << " / " << c.name;
    }
}

// What a person writes with a text editor: LF line ends, comments, indentation, spaces around
// '=', names in any case, every data form, and lines that mean nothing.
constexpr std::string_view kHandWritten = R"(Windows Registry Editor Version 5.00
; a comment
[HKEY_CURRENT_USER\Software\Tallowbrook\Adverts]
"Plain"="text"
"Escapes"="a \"quoted\" word, a \\ backslash and C:\temp"
  "Indented" = dword:0000002A
@="the default"
"Empty"=""
"Hex"=hex:00,ff,10,\
      20,\
  30
"Expand"=hex(2):25,00,41,00,25,00,00,00
"Multi"=hex(7):61,00,00,00,62,00,00,00,00,00
"Qword"=hex(b):01,02,03,04,05,06,07,08
"NoBytes"=hex:
"Short"=dword:7
this line is garbled
"Unclosed"="no closing quote
"BadHex"=hex:zz,01
"BadDword"=dword:123456789
"AfterGarbage"="still read"

[HKCU\SOFTWARE\TALLOWBROOK\ADVERTS]
"plain"="replaced later in the file"

[HKEY_LOCAL_MACHINE\Software\Tallowbrook\Adverts]
"Machine"="not the current user's"

[HKEY_CURRENT_USER\Software\Broken
"Lost"="belongs to no key"
)";

TEST(RegFileReadTest, ReadsEveryFormAPersonWrites) {
    testing::TempDir dir;
    RegFileRegistry registry(dir.Write("registry.reg", kHandWritten));
    const char* k = "software\\tallowbrook\\adverts";
    ExpectValues(registry, {
                               {k, "PLAIN", Sz("replaced later in the file")},
                               {k, "Escapes", Sz("a \"quoted\" word, a \\ backslash and C:\\temp")},
                               {k, "indented", Dword(42)},
                               {k, "", Sz("the default")},
                               {k, "Empty", Sz("")},
                               {k, "Hex", Bytes(kBinary, std::string("\x00\xff\x10\x20\x30", 5))},
                               {k, "Expand", Bytes(kExpand, std::string("%A%\0", 4))},
                               {k, "Multi", Bytes(kMulti, std::string("a\0b\0\0", 5))},
                               {k, "Qword",
                                Bytes(static_cast<RegistryValueType>(11),
                                      "\x01\x02\x03\x04"
                                      "\x05\x06\x07\x08")},
                               {k, "NoBytes", Bytes(kBinary, "")},
                               {k, "Short", Dword(7)},
                               {k, "Unclosed", std::nullopt},
                               {k, "BadHex", std::nullopt},
                               {k, "BadDword", std::nullopt},
                               {k, "AfterGarbage", Sz("still read")},
                               {k, "Machine", std::nullopt},
                               {"Software\\Broken", "Lost", std::nullopt},
                           });
    // A key exists when it has a section of its own or a section below it.
    EXPECT_NE(registry.OpenKeyForQuery("Software"), nullptr);
    EXPECT_NE(registry.OpenKeyForQuery(""), nullptr);
    EXPECT_EQ(registry.OpenKeyForQuery("Software\\Tallowbrook\\Other"), nullptr);
    EXPECT_EQ(registry.OpenKeyForQuery("Software\\Tallow"), nullptr);
}

TEST(RegFileReadTest, ReadsWhatWindowsRegistryEditorExports) {
    // UTF-16LE with a byte-order mark and CRLF; wide strings in hex(2) and hex(7).
    RegFileRegistry registry(std::string(QUILLMERE_TEST_DATA_DIR) + "/windows-export.reg");
    const char* k = "Software\\Tallowbrook\\Adverts";
    {
        testing::ScopedLocale utf8("C.UTF-8");
        ExpectValues(registry,
                     {
                         {k, "", Sz("default")},
                         {k, "SWUPD", Sz(" 620_12 638_3")},
                         {k, "M42-V1", Dword(1)},
                         {k, "M42-V2", Sz("Caf\xC3\xA9 Planner")},
                         {k, "M42-V8", Bytes(kExpand, std::string("%TEMP%\\\xC3\xA9\0", 10))},
                         {k, "M42-V9", Bytes(kMulti, std::string("a\0bc\0\0", 6))},
                         {k, "M42-IMG00",
                          Bytes(kBinary, std::string("\xff\xd8\xff\xe0\x00\x10"
                                                     "JFIF\x00\x01\x01\x00\x00"
                                                     "\x01\x00\x01\x00\x00\xff"
                                                     "\xdb\x00\x43\x00\x06\x04"
                                                     "\x05",
                                                     28))},
                         {"Software\\Tallowbrook\\Salt & Thyme\\LU", "Terms", Dword(1)},
                     });
    }
    // In a locale whose character set lacks a character, queries give '?' for it.
    testing::ScopedLocale ascii("C");
    ExpectValues(registry, {{k, "M42-V2", Sz("Caf? Planner")}});
}

std::string Utf16LeBytes(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

TEST(RegFileReadTest, ALoneSurrogateSpoilsOnlyItsOwnValueAndSurvivesAWrite) {
    const std::u16string lone(1, u'\xD800');
    const std::string lineWithLone = Utf16LeBytes(u"\"Lone\"=\"a" + lone + u"b\"\r\n");
    const std::string file = Utf16LeBytes(
                                 u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
                                 u"[HKEY_CURRENT_USER\\K]\r\n") +
                             lineWithLone +
                             Utf16LeBytes(
                                 u"\"Other\"=\"kept\"\r\n"
                                 u"\"Wide\"=hex(2):41,00,00,dc,00,00\r\n"
                                 u"\"Pair\"=\"\xD83D\xDE00\"\r\n");
    testing::TempDir dir;
    RegFileRegistry registry(dir.Write("registry.reg", file));
    testing::ScopedLocale utf8("C.UTF-8");
    const std::vector<ValueCase> cases = {
        {"K", "Lone",
         Sz("a\xEF\xBF\xBD"
            "b")},
        {"K", "Other", Sz("kept")},
        {"K", "Wide", Bytes(kExpand, std::string("A\xEF\xBF\xBD\0", 5))},
        {"K", "Pair", Sz("\xF0\x9F\x98\x80")},
    };
    ExpectValues(registry, cases);

    // Writing another value keeps the unit as Windows wrote it.
    ASSERT_TRUE(registry.WriteDword("K", "New", 5));
    EXPECT_NE(testing::ReadFileBytes(registry.Path()).find(lineWithLone), std::string::npos);
    ExpectValues(registry, cases);
    ExpectValues(registry, {{"K", "New", Dword(5)}});
}

TEST(RegFileReadTest, RegEdit4FilesKeepStringBytesAsTheyAre) {
    testing::TempDir dir;
    RegFileRegistry registry(dir.Write("registry.reg",
                                       "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
                                       "\"E\"=hex(2):25,41,25,00\r\n"));
    ExpectValues(registry, {{"K", "E", Bytes(kExpand, std::string("%A%\0", 4))}});
}

TEST(RegFileReadTest, AppliesDeletionsInFileOrder) {
    testing::TempDir dir;
    RegFileRegistry registry(dir.Write("registry.reg", R"(Windows Registry Editor Version 5.00
[HKEY_CURRENT_USER\A]
"Kept"="1"
"Dropped"="1"
[HKEY_CURRENT_USER\A\B]
"Gone"="1"
[HKEY_CURRENT_USER\A\B\C]
"Gone"="1"
[HKEY_CURRENT_USER\A\BC]
"Sibling"="1"
[HKEY_CURRENT_USER\A]
"Dropped"=-
[-HKEY_CURRENT_USER\A\B]
"IgnoredUnderDeletion"="1"
[HKEY_CURRENT_USER\D]
"Old"="1"
[-HKEY_CURRENT_USER\D]
[HKEY_CURRENT_USER\D]
"New"="1"
)"));
    ExpectValues(registry, {
                               {"A", "Kept", Sz("1")},
                               {"A", "Dropped", std::nullopt},
                               {"A\\BC", "Sibling", Sz("1")},
                               {"D", "Old", std::nullopt},
                               {"D", "New", Sz("1")},
                           });
    EXPECT_EQ(registry.OpenKeyForQuery("A\\B"), nullptr);
    EXPECT_EQ(registry.OpenKeyForQuery("A\\B\\C"), nullptr);
}

TEST(RegFileReadTest, MissingOrUnreadableFilesReadAsAnEmptyRegistry) {
    testing::TempDir dir;
    std::string badUtf16(
        "\xff\xfe"
        "W\0"
        "\x00\xd8"
        "x\0",
        8);  // a lone surrogate
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 37 + 11) % 256));
    const std::vector<std::string> paths = {
        dir.File("missing.reg"),       dir.Write("empty.reg", ""), dir.Write("utf16.reg", badUtf16),
        dir.Write("noise.reg", noise),
        dir.path().string(),  // a folder
    };
    for (const auto& path : paths) {
        RegFileRegistry registry(path);
        EXPECT_EQ(registry.OpenKeyForQuery("Software"), nullptr) << path;
    }
}

TEST(RegFileReadTest, AFifoAtThePathIsRefusedWithoutWaitingForAWriter) {
    testing::TempDir dir;
    const std::string fifo = dir.File("registry.reg");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    RegFileRegistry registry(fifo);
    auto reading = std::async(std::launch::async, [&] {
        return registry.OpenKeyForQuery("Software") == nullptr &&
               !registry.WriteDword("Software", "Terms", 1);
    });
    if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // Release the blocked open so the test can end.
        const int writer = open(fifo.c_str(), O_WRONLY);
        if (writer >= 0) close(writer);
        FAIL() << "opening the registry waited for a writer to the FIFO";
    }
    EXPECT_TRUE(reading.get());
}

TEST(RegFileReadTest, EveryChangeBetweenTwoOpensIsSeen) {
    const std::string before = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"V\"=\"old\"\r\n";
    const std::string sameSize = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"V\"=\"new\"\r\n";
    const std::string longer = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"V\"=\"newer\"\r\n";
    // Sets the file's modification time; the file stays the same inode.
    const auto writeInPlace = [](const std::string& path, const std::string& text, long nanos) {
        const int fd = open(path.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        const timespec times[2] = {{0, UTIME_OMIT}, {1700000000, nanos}};
        ASSERT_EQ(futimens(fd, times), 0);
        close(fd);
    };
    const struct {
        const char* what;
        std::function<void(const std::string&)> change;
        QueriedValue expected;
    } cases[] = {
        {"replaced by a writer",
         [](const std::string& path) {
             ASSERT_TRUE(RegFileRegistry(path).WriteDword("K", "V", 7));
         },
         Dword(7)},
        {"same size, one nanosecond later",
         [&](const std::string& path) { writeInPlace(path, sameSize, 2); }, Sz("new")},
        {"longer, same time", [&](const std::string& path) { writeInPlace(path, longer, 1); },
         Sz("newer")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::TempDir dir;
        const std::string path = dir.Write("registry.reg", "");
        writeInPlace(path, before, 1);
        RegFileRegistry registry(path);
        ASSERT_EQ(QueryRegValue(registry, "K", "V"), Sz("old"));
        c.change(path);
        EXPECT_EQ(QueryRegValue(registry, "K", "V"), c.expected);
    }
}

TEST(RegFileReadTest, QueryReportsSizeAndRefusesSmallBuffers) {
    testing::TempDir dir;
    RegFileRegistry registry(
        dir.Write("registry.reg",
                  "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n"
                  "\"S\"=\"abcd\"\n"));
    auto key = registry.OpenKeyForQuery("K");
    ASSERT_NE(key, nullptr);
    char buffer[8] = "-------";
    RegistryValueType type = RegistryValueType::None;

    std::uint32_t size = 4;
    EXPECT_EQ(key->QueryValue("S", type, buffer, size), kRegistryMoreData);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::string(buffer), "-------");

    size = 5;
    EXPECT_EQ(key->QueryValue("s", type, buffer, size), kRegistrySuccess);
    EXPECT_EQ(type, RegistryValueType::String);
    EXPECT_EQ(std::string(buffer, 5), std::string("abcd\0", 5));

    size = 0;
    EXPECT_EQ(key->QueryValue("S", type, nullptr, size), kRegistrySuccess);
    EXPECT_EQ(size, 5u);

    EXPECT_EQ(key->QueryValue("T", type, buffer, size), kRegistryNotFound);
}

class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(RegFileReadTest, DefaultPathFollowsXdgConfigHome) {
    ScopedVariable home("HOME", "/home/reader");
    {
        ScopedVariable config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(RegFileRegistry::DefaultPath(), "/cfg/tallowbrook/registry.reg");
        EXPECT_EQ(RegFileRegistry().Path(), "/cfg/tallowbrook/registry.reg");
    }
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/cfg"}) {
        ScopedVariable config("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(RegFileRegistry::DefaultPath(), "/home/reader/.config/tallowbrook/registry.reg");
    }
}

}  // namespace
}  // namespace quillmere
