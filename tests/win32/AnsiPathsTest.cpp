// Paths that the ANSI code page cannot hold reach the portable code by their short names, or not
// at all, never with a character lost or replaced.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/win32/AnsiPaths.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "support/TempDir.h"
#include "support/Win32TestSupport.h"

namespace quillmere {
namespace {

using testing::ReadProbeRecord;
using testing::ScopedVariable;
using testing::TempDir;

// Plain ASCII converts; anything else has no ANSI form.
std::optional<std::string> AsciiOnly(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c > 0x7f) return std::nullopt;
        out += static_cast<char>(c);
    }
    return out;
}

TEST(AnsiPaths, OnlyTheComponentsThatLoseACharacterTakeTheirShortNames) {
    const std::map<std::wstring, std::wstring> shortNames = {
        {L"C:\\\x041a\x043d\x0438\x0433\x0438", L"____~K44"},
        {L"C:\\\x041a\x043d\x0438\x0433\x0438\\Reader \x00e9t\x00e9.exe", L"READER~1.EXE"},
        {L"C:\\\x0141ukasz", L"_UKASZ~1"},
        // Short names switched off: the system gives the long name back.
        {L"D:\\\x0141ukasz", L"\x0141ukasz"},
        {L"\\\\server\\\x00e9t\x00e9", L"T~1"},
    };
    const auto lookup = [&](const std::wstring& path) -> std::optional<std::wstring> {
        const auto found = shortNames.find(path);
        if (found == shortNames.end()) return std::nullopt;
        return found->second;
    };
    const struct {
        const wchar_t* path;
        std::optional<std::string> ansi;
    } cases[] = {
        {L"C:\\Books\\book.exe", "C:\\Books\\book.exe"},
        {L"C:\\\x041a\x043d\x0438\x0433\x0438\\book.exe", "C:\\____~K44\\book.exe"},
        {L"C:\\\x041a\x043d\x0438\x0433\x0438\\Reader \x00e9t\x00e9.exe",
         "C:\\____~K44\\READER~1.EXE"},
        {L"C:\\\x0141ukasz\\Temp\\", "C:\\_UKASZ~1\\Temp\\"},
        {L"D:\\\x0141ukasz\\Temp\\", std::nullopt},
        {L"E:\\\x0141ukasz\\Temp\\", std::nullopt},  // no short name at all
        {L"\\\\server\\\x00e9t\x00e9\\Temp\\", "\\\\server\\T~1\\Temp\\"},
        {L"\\\\?\\C:\\Books\\", "\\\\?\\C:\\Books\\"},
        {L"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::filesystem::path(c.path).string());
        EXPECT_EQ(AnsiPathOf(c.path, AsciiOnly, lookup), c.ansi);
    }
}

// What the current ANSI code page can hold; a name it holds tests nothing here.
bool FitsTheCodePage(const std::wstring& name) {
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(),
                                           static_cast<int>(name.size()), nullptr, 0, nullptr,
                                           GetACP() == CP_UTF8 ? nullptr : &usedDefault);
    return length > 0 && !usedDefault && GetACP() != CP_UTF8;
}

std::wstring Wide(const std::string& ansi) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

const std::wstring kCyrillic = L"\x041a\x043d\x0438\x0433\x0438";  // Книги
const std::wstring kPolish = L"\x0141ukasz";                       // Łukasz

TEST(AnsiPaths, ABookInAFolderOutsideTheCodePageReadsItselfByItsShortName) {
    if (GetACP() == CP_UTF8 || FitsTheCodePage(kCyrillic)) {
        GTEST_SKIP() << "code page " << GetACP() << " holds the folder's name";
    }
    TempDir dir;
    const std::wstring folder = dir.path().wstring() + L"\\" + kCyrillic;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring copy = folder + L"\\book.exe";
    ASSERT_TRUE(CopyFileW(Wide(QUILLMERE_PROBE_PATH).c_str(), copy.c_str(), TRUE));
    const std::string out = dir.File("record.txt");
    ScopedVariable record("QUILLMERE_PROBE_OUT", out);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"book.exe";
    ASSERT_TRUE(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &started));
    WaitForSingleObject(started.hProcess, 10000);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);

    const auto recorded = ReadProbeRecord(out);
    const std::string self = recorded.at("self");
    EXPECT_EQ(self.find('?'), std::string::npos) << self;
    // The ANSI path names the very file: the viewer reads its own image through it.
    const DWORD attributes = GetFileAttributesA(self.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << self;
    EXPECT_EQ(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(recorded.at("module"), "");
}

// Sets TMP (which GetTempPathW reads first) while the object lives, then restores it.
class ScopedTemp {
  public:
    explicit ScopedTemp(const std::wstring& value) {
        wchar_t old[32768];
        const DWORD length = GetEnvironmentVariableW(L"TMP", old, 32768);
        if (length > 0 && length < 32768) saved_ = std::wstring(old, length);
        SetEnvironmentVariableW(L"TMP", value.c_str());
    }
    ~ScopedTemp() { SetEnvironmentVariableW(L"TMP", saved_ ? saved_->c_str() : nullptr); }
    ScopedTemp(const ScopedTemp&) = delete;
    ScopedTemp& operator=(const ScopedTemp&) = delete;

  private:
    std::optional<std::wstring> saved_;
};

TEST(AnsiPaths, ATemporaryFolderOutsideTheCodePageIsNamedByItsShortNameNeverByALookalike) {
    TempDir dir;
    const std::wstring base = dir.path().wstring();
    // Best fit would turn Ł into L: a folder of that name must never be used.
    const std::wstring trap = base + L"\\Lukasz";
    ASSERT_TRUE(CreateDirectoryW(trap.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((trap + L"\\Temp").c_str(), nullptr));
    int tested = 0;
    for (const std::wstring& name : {kCyrillic, kPolish}) {
        if (GetACP() == CP_UTF8 || FitsTheCodePage(name)) continue;
        ++tested;
        const std::wstring temp = base + L"\\" + name + L"\\Temp";
        ASSERT_TRUE(CreateDirectoryW((base + L"\\" + name).c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(temp.c_str(), nullptr));
        ScopedTemp scoped(temp);

        Win32FileSystem files;
        const std::optional<std::string> found = files.TemporaryDirectory();
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(found->find('?'), std::string::npos) << *found;
        EXPECT_EQ(found->find("Lukasz"), std::string::npos) << *found;
        EXPECT_EQ(found->back(), '\\');
        // A file written through the ANSI path lands in the real folder.
        const std::string probe = *found + "probe.txt";
        ASSERT_TRUE(files.CreateForWriting(probe, FileKind::Document) != nullptr) << probe;
        EXPECT_TRUE(std::filesystem::exists(temp + L"\\probe.txt"));
    }
    EXPECT_TRUE(std::filesystem::is_empty(trap + L"\\Temp"));
    if (tested == 0) GTEST_SKIP() << "code page " << GetACP() << " holds both names";
}

}  // namespace
}  // namespace quillmere
