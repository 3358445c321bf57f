#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "package/FileHelpers.h"
#include "support/FakePlatform.h"
#include "support/MemoryFiles.h"
#include "support/NativeBackend.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::FakeDialogs;
using testing::FakeLifetime;
using testing::FakeShell;
using testing::FakeSystem;
using testing::FakeWindowing;
using testing::MemoryFiles;
using testing::MemoryRegistry;
using testing::NoProcesses;

const PathConventions kWindowsConventions{'\\', true, false};
const PathConventions kPosixConventions{'/', false, true};

class FileHelpersTest : public ::testing::Test {
  protected:
    FakeDialogs dialogs;
    FakeLifetime lifetime;
    MemoryFiles files;
    MemoryRegistry registry;
    FakeSystem system;
    NoProcesses processes;
    FakeShell shell;
    FakeWindowing windowing;
    Platform platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};
    AppContext ctx{platform, TextRules{LeadBytes(), '/'}, "Garden Book"};

    void UseConventions(const PathConventions& conventions, unsigned codePage = 1252) {
        system.conventions = conventions;
        ctx.rules = TextRules{LeadBytes(codePage), conventions.separator};
    }

    // The one box shown, which must be the stop box captioned with the application name.
    std::string OnlyStopBoxText() {
        if (dialogs.shown.size() != 1) {
            ADD_FAILURE() << dialogs.shown.size() << " boxes shown";
            return "";
        }
        EXPECT_EQ(dialogs.shown[0].caption, "Garden Book");
        EXPECT_EQ(dialogs.shown[0].style.buttons, MessageBoxButtons::Ok);
        EXPECT_EQ(dialogs.shown[0].style.icon, MessageBoxIcon::Stop);
        return dialogs.shown[0].text;
    }
};

std::string Contents(const HeapBuffer& buffer, std::uint32_t size) {
    return std::string(reinterpret_cast<const char*>(buffer.get()), size + 4);
}

TEST_F(FileHelpersTest, ReadWholeFileAppendsFourZeroBytes) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t chunk;
    };
    const Case cases[] = {
        {"empty", "", 0},
        {"text", "<html>body</html>", 0},
        {"binary with zeros", std::string("MZ\0\0\x90\xFF", 6), 0},
        {"arriving three bytes at a time", "abcdefghijklmnop", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        files.files["/books/f"] = {c.bytes};
        files.readChunk = c.chunk;
        std::uint32_t size = 12345;
        HeapBuffer buffer = ReadWholeFile(ctx, "/books/f", size);
        ASSERT_TRUE(buffer);
        EXPECT_EQ(size, c.bytes.size());
        EXPECT_EQ(Contents(buffer, size), c.bytes + std::string(4, '\0'));
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileHelpersTest, ReadWholeFileTakesAShortReadAsTheEnd) {
    // The file claims more than it delivers: the rest of the buffer stays zero.
    files.files["/books/f"] = {"abc"};
    files.reportedSize = 6;
    std::uint32_t size = 0;
    HeapBuffer buffer = ReadWholeFile(ctx, "/books/f", size);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(Contents(buffer, size), std::string("abc") + std::string(7, '\0'));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileHelpersTest, ReadWholeFileReportsEveryFailureOnceAndGivesNoBuffer) {
    struct Case {
        const char* name;
        std::function<void(MemoryFiles&)> arrange;
    };
    const Case cases[] = {
        {"missing", [](MemoryFiles& f) { f.files.clear(); }},
        {"size unknown", [](MemoryFiles& f) { f.sizeUnknown = true; }},
        {"too large for 32 bits", [](MemoryFiles& f) { f.reportedSize = 0x100000000ull; }},
        {"read error", [](MemoryFiles& f) { f.readFails = true; }},
        {"close error", [](MemoryFiles& f) { f.readCloseFails = true; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        files = MemoryFiles();
        files.files["/books/100% sure %s.exe"] = {"data"};
        c.arrange(files);
        dialogs.shown.clear();
        std::uint32_t size = 0;
        EXPECT_FALSE(ReadWholeFile(ctx, "/books/100% sure %s.exe", size));
        EXPECT_EQ(OnlyStopBoxText(), "Unable to read file: /books/100% sure %s.exe");
    }
}

TEST_F(FileHelpersTest, WriteWholeFileCreatesOrTruncatesWithTheGivenKind) {
    files.files["/ws/page.html"] = {"an older and much longer page"};
    EXPECT_TRUE(WriteWholeFile(ctx, "/ws/page.html", "new", 3));
    EXPECT_EQ(files.files["/ws/page.html"].bytes, "new");
    EXPECT_EQ(files.files["/ws/page.html"].kind, FileKind::Document);

    EXPECT_TRUE(WriteWholeFile(ctx, "/ws/tool.exe", "\177ELF", 4, FileKind::Program));
    EXPECT_EQ(files.files["/ws/tool.exe"].bytes, "\177ELF");
    EXPECT_EQ(files.files["/ws/tool.exe"].kind, FileKind::Program);

    EXPECT_TRUE(WriteWholeFile(ctx, "/ws/empty", nullptr, 0));
    EXPECT_EQ(files.files["/ws/empty"].bytes, "");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileHelpersTest, WriteWholeFileReportsEveryFailure) {
    for (bool MemoryFiles::*fault :
         {&MemoryFiles::createFails, &MemoryFiles::writeFails, &MemoryFiles::writeCloseFails}) {
        files = MemoryFiles();
        files.*fault = true;
        dialogs.shown.clear();
        EXPECT_FALSE(WriteWholeFile(ctx, "/ws/%n%s.html", "x", 1));
        EXPECT_EQ(OnlyStopBoxText(), "Failed to write file /ws/%n%s.html");
    }
}

TEST_F(FileHelpersTest, ShowErrorBoxInsertsTheArgumentVerbatim) {
    ShowErrorBox(ctx, "100%% lost: %s (not %s)", "%s%d%n%%");
    EXPECT_EQ(OnlyStopBoxText(), "100% lost: %s%d%n%% (not %s)");
}

struct ModuleCase {
    const char* name;
    PathConventions conventions;
    unsigned codePage;
    const char* module;
    const char* helpPath;
    const char* directory;
    const char* selfImage;
};

TEST_F(FileHelpersTest, ModulePathsFollowThePlatformsConventions) {
    const ModuleCase cases[] = {
        {"windows", kWindowsConventions, 1252, "C:\\Books\\My.Guide\\Reader.EXE",
         "C:\\Books\\My.Guide\\Reader.HLP", "c:\\books\\my.guide\\",
         "c:\\books\\my.guide\\Reader.exe"},
        {"windows, other extension", kWindowsConventions, 1252, "C:\\B\\viewer.bin",
         "C:\\B\\viewer.HLP", "c:\\b\\", "c:\\b\\viewer.exe"},
        {"windows, no extension", kWindowsConventions, 1252, "C:\\B.D\\viewer",
         "C:\\B.D\\viewer.HLP", "c:\\b.d\\", "c:\\b.d\\viewer.exe"},
        {"windows, shift-jis", kWindowsConventions, 932, "C:\\\x83\x41\\\x95\x5C.exe",
         "C:\\\x83\x41\\\x95\x5C.HLP", "c:\\\x83\x41\\", "c:\\\x83\x41\\\x95\x5C.exe"},
        {"posix", kPosixConventions, 65001, "/opt/Books/Reader", "/opt/Books/Reader.HLP",
         "/opt/Books/", "/opt/Books/Reader"},
        {"posix, dotted", kPosixConventions, 65001, "/opt/My.Books/quillmere-stub.x86",
         "/opt/My.Books/quillmere-stub.HLP", "/opt/My.Books/", "/opt/My.Books/quillmere-stub.x86"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UseConventions(c.conventions, c.codePage);
        system.modulePath = c.module;
        EXPECT_EQ(HelpFilePath(ctx), c.helpPath);
        EXPECT_EQ(GetModuleDirectory(ctx), c.directory);
        EXPECT_EQ(SelfImagePathFor(ctx), c.selfImage);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileHelpersTest, ModuleFolderThatCannotBeDerivedIsReported) {
    const std::string prefix = "Windows Error - cannot determine file path \n\nHelp path is: ";
    for (const auto& conventions : {kWindowsConventions, kPosixConventions}) {
        UseConventions(conventions);
        system.modulePath = std::nullopt;
        dialogs.shown.clear();
        EXPECT_EQ(GetModuleDirectory(ctx), "");
        EXPECT_EQ(OnlyStopBoxText(), prefix);

        // No guess at a file in the current folder: the path stays empty.
        dialogs.shown.clear();
        EXPECT_EQ(SelfImagePathFor(ctx), "");
        EXPECT_EQ(OnlyStopBoxText(), prefix);
    }

    UseConventions(kWindowsConventions);
    system.modulePath = "Reader.exe";
    dialogs.shown.clear();
    EXPECT_EQ(GetModuleDirectory(ctx), "");
    EXPECT_EQ(OnlyStopBoxText(), prefix + "Reader.HLP");
}

TEST_F(FileHelpersTest, SelfImageUnderAnotherExtensionIsLookedForAsExe) {
    UseConventions(kWindowsConventions);
    system.modulePath = "C:\\Books\\Guide.bin";
    files.files["C:\\Books\\Guide.bin"] = {"the running file"};
    std::uint32_t size = 0;
    EXPECT_FALSE(ReadWholeFile(ctx, SelfImagePathFor(ctx), size));
    EXPECT_EQ(OnlyStopBoxText(), "Unable to read file: c:\\books\\Guide.exe");
}

TEST_F(FileHelpersTest, RealFilesRoundTripThroughTheSystemsFileSystem) {
    testing::NativeFileSystem real;
    Platform onDisk{dialogs, lifetime, real, registry, system, processes, shell, windowing};
    AppContext disk{onDisk, TextRules{LeadBytes(), '/'}, "Garden Book"};
    testing::TempDir dir;

    const std::string bytes("page\0with a zero", 16);
    const std::string path = dir.File("Page.html");
    ASSERT_TRUE(WriteWholeFile(disk, path, bytes.data(), 16));
    std::uint32_t size = 0;
    HeapBuffer buffer = ReadWholeFile(disk, path, size);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(Contents(buffer, size), bytes + std::string(4, '\0'));

    // A file large enough for the platform to give it memory of its own reads back the same.
    std::string large(5u << 20, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 131 + i / 7);
    const std::string largePath = dir.File("Plate.jpg");
    ASSERT_TRUE(
        WriteWholeFile(disk, largePath, large.data(), static_cast<std::uint32_t>(large.size())));
    buffer = ReadWholeFile(disk, largePath, size);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(Contents(buffer, size), large + std::string(4, '\0'));

    // No folder is created on the way.
    EXPECT_FALSE(WriteWholeFile(disk, dir.File("missing/page.html"), "x", 1));
    EXPECT_EQ(OnlyStopBoxText(), "Failed to write file " + dir.File("missing/page.html"));
}

}  // namespace
}  // namespace quillmere
