#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "RegFileSupport.h"
#include "platform/posix/RegFileRegistry.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::Dword;
using testing::QueryRegValue;
using testing::Sz;

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

std::string Lines(std::initializer_list<std::string_view> lines, std::string_view ending = "\r\n") {
    std::string text;
    for (auto line : lines) {
        text += line;
        text += ending;
    }
    return text;
}

std::set<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

struct EditCase {
    const char* what;
    std::string before;
    const char* subkey;
    const char* name;
    std::uint32_t value;
    std::string after;
};

TEST(RegFileWriteTest, ChangesOnlyTheLineForTheValue) {
    const std::string lu = "[HKEY_CURRENT_USER\\Software\\Tallowbrook\\Book\\LU]";
    const std::vector<EditCase> cases = {
        {"replaces the value in place, whatever its case; keeps comments, garbled lines and "
         "other roots",
         Lines({kHeader, "", "; keep me", "[HKEY_LOCAL_MACHINE\\Software\\Tallowbrook\\Book\\LU]",
                "\"Terms\"=dword:00000005", "", lu, "\"Other\"=\"x\"", "\"terms\"=dword:00000000",
                "garbled line"}),
         "software\\TALLOWBROOK\\book\\lu", "Terms", 1,
         Lines({kHeader, "", "; keep me", "[HKEY_LOCAL_MACHINE\\Software\\Tallowbrook\\Book\\LU]",
                "\"Terms\"=dword:00000005", "", lu, "\"Other\"=\"x\"", "\"Terms\"=dword:00000001",
                "garbled line"})},
        {"adds the value after the last line of the key's last section",
         Lines(
             {kHeader, "", lu, "\"A\"=\"1\"", "", lu, "\"B\"=\"2\"", "", "[HKEY_CURRENT_USER\\Z]"},
             "\n"),
         "Software\\Tallowbrook\\Book\\LU", "Terms", 0x12345678,
         Lines({kHeader, "", lu, "\"A\"=\"1\"", "", lu, "\"B\"=\"2\"", "\"Terms\"=dword:12345678",
                "", "[HKEY_CURRENT_USER\\Z]"},
               "\n")},
        {"appends a section to a file without a final line break",
         std::string(kHeader) + "\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"X\"=\"1\"", "B\\C", "Terms", 1,
         Lines({kHeader, "", "[HKEY_CURRENT_USER\\A]", "\"X\"=\"1\"", "",
                "[HKEY_CURRENT_USER\\B\\C]", "\"Terms\"=dword:00000001"})},
        {"replaces a later removal of the value, and a value spread over lines",
         Lines({kHeader, "[HKEY_CURRENT_USER\\A]", "\"V\"=hex:01,\\", "  02", "\"V\"=-",
                "\"W\"=hex:01,\\", "  02"}),
         "A", "W", 2,
         Lines({kHeader, "[HKEY_CURRENT_USER\\A]", "\"V\"=hex:01,\\", "  02", "\"V\"=-",
                "\"W\"=dword:00000002"})},
        {"a key removed later in the file gets a new section after the removal",
         Lines({kHeader, "[HKEY_CURRENT_USER\\A\\B]", "\"V\"=dword:00000001",
                "[-HKEY_CURRENT_USER\\A]"}),
         "A\\B", "V", 3,
         Lines({kHeader, "[HKEY_CURRENT_USER\\A\\B]", "\"V\"=dword:00000001",
                "[-HKEY_CURRENT_USER\\A]", "", "[HKEY_CURRENT_USER\\A\\B]",
                "\"V\"=dword:00000003"})},
        {"names with quotes and backslashes are escaped; @ is the default value",
         Lines({kHeader, "[HKEY_CURRENT_USER\\A]", "@=\"x\""}), "A", "", 4,
         Lines({kHeader, "[HKEY_CURRENT_USER\\A]", "@=dword:00000004"})},
        {"a file without a header gets one", Lines({"[HKEY_CURRENT_USER\\A]", "\"V\"=\"x\""}), "A",
         "Q\"\\", 5,
         Lines({kHeader, "", "[HKEY_CURRENT_USER\\A]", "\"V\"=\"x\"",
                "\"Q\\\"\\\\\"=dword:00000005"})},
        {"an empty file", "", "A", "V", 6,
         Lines({kHeader, "", "[HKEY_CURRENT_USER\\A]", "\"V\"=dword:00000006"}, "\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testing::TempDir dir;
        RegFileRegistry registry(dir.Write("registry.reg", c.before));
        ASSERT_TRUE(registry.WriteDword(c.subkey, c.name, c.value));
        EXPECT_EQ(testing::ReadFileBytes(registry.Path()), c.after);
        EXPECT_EQ(QueryRegValue(registry, c.subkey, c.name), Dword(c.value));
        EXPECT_EQ(FolderEntries(dir.path()),
                  (std::set<std::string>{"registry.reg", "registry.reg.lock"}));
    }
}

TEST(RegFileWriteTest, CreatesAPrivateFolderAndFile) {
    testing::TempDir dir;
    RegFileRegistry registry(dir.File("config/tallowbrook/registry.reg"));
    ASSERT_TRUE(registry.WriteDword("Software\\Tallowbrook\\Book\\LU", "Terms", 1));
    struct stat folder {};
    struct stat file {};
    ASSERT_EQ(::stat(dir.File("config/tallowbrook").c_str(), &folder), 0);
    ASSERT_EQ(::stat(registry.Path().c_str(), &file), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(file.st_mode & 0777, 0600u);
    EXPECT_EQ(QueryRegValue(registry, "Software\\Tallowbrook\\Book\\LU", "Terms"), Dword(1));
}

TEST(RegFileWriteTest, KeepsTheEncodingOfAFileWindowsWrote) {
    testing::TempDir dir;
    std::string exported =
        testing::ReadFileBytes(std::string(QUILLMERE_TEST_DATA_DIR) + "/windows-export.reg");
    RegFileRegistry registry(dir.Write("registry.reg", exported));
    testing::ScopedLocale utf8("C.UTF-8");
    ASSERT_TRUE(registry.WriteDword("Software\\Tallowbrook\\Salt & Thyme\\LU", "Terms", 0));

    std::string written = testing::ReadFileBytes(registry.Path());
    EXPECT_EQ(written.substr(0, 2), "\xff\xfe");
    EXPECT_EQ(written.size(), exported.size());  // same length: one dword line replaced
    EXPECT_EQ(QueryRegValue(registry, "Software\\Tallowbrook\\Salt & Thyme\\LU", "Terms"),
              Dword(0));
    EXPECT_EQ(QueryRegValue(registry, "Software\\Tallowbrook\\Adverts", "M42-V2"),
              Sz("Caf\xC3\xA9 Planner"));
}

TEST(RegFileWriteTest, RefusesWhatItCannotWriteFaithfully) {
    testing::TempDir dir;
    const std::string original = Lines({kHeader, "[HKEY_CURRENT_USER\\A]", "\"V\"=\"x\""});
    RegFileRegistry registry(dir.Write("registry.reg", original));
    EXPECT_FALSE(registry.WriteDword("A\nB", "V", 1));
    EXPECT_FALSE(registry.WriteDword("A", "V\r\n[HKEY_CURRENT_USER\\B]", 1));
    EXPECT_FALSE(registry.WriteDword("A\\\\B", "V", 1));
    EXPECT_FALSE(registry.WriteDword("A\\", "V", 1));
    EXPECT_EQ(testing::ReadFileBytes(registry.Path()), original);

    // Text a UTF-16 file cannot hold is not written into it.
    std::string utf16 =
        testing::ReadFileBytes(std::string(QUILLMERE_TEST_DATA_DIR) + "/windows-export.reg");
    RegFileRegistry wide(dir.Write("wide.reg", utf16));
    testing::ScopedLocale utf8("C.UTF-8");
    EXPECT_FALSE(wide.WriteDword("A\xff", "V", 1));
    EXPECT_EQ(testing::ReadFileBytes(wide.Path()), utf16);

    // A file that is there but cannot be read is never replaced.
    std::filesystem::create_directory(dir.File("folder.reg"));
    RegFileRegistry folder(dir.File("folder.reg"));
    EXPECT_FALSE(folder.WriteDword("A", "V", 1));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.reg")));
}

TEST(RegFileWriteTest, WritesThroughALinkToTheFile) {
    testing::TempDir dir;
    std::string target = dir.Write("real.reg", Lines({kHeader}));
    std::filesystem::create_symlink(target, dir.File("registry.reg"));
    RegFileRegistry registry(dir.File("registry.reg"));
    ASSERT_TRUE(registry.WriteDword("A", "V", 9));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("registry.reg")));
    EXPECT_EQ(QueryRegValue(registry, "A", "V"), Dword(9));
}

// Two processes and two threads each write 50 values of their own at the same time; a write that
// read the file before another's rename would lose that other value.
TEST(RegFileWriteTest, ConcurrentWritersLoseNothing) {
    testing::TempDir dir;
    const std::string path = dir.File("registry.reg");
    constexpr int kWrites = 50;
    auto writeAll = [&](const std::string& writer) {
        RegFileRegistry registry(path);
        bool ok = true;
        for (int i = 0; i < kWrites; ++i) {
            ok = registry.WriteDword("Software\\Race", writer + "-" + std::to_string(i),
                                     static_cast<std::uint32_t>(i)) &&
                 ok;
        }
        return ok;
    };

    std::vector<pid_t> children;
    for (const char* writer : {"process1", "process2"}) {
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) _exit(writeAll(writer) ? 0 : 1);
        children.push_back(pid);
    }
    std::atomic<bool> threadsOk{true};
    std::vector<std::thread> threads;
    for (const char* writer : {"thread1", "thread2"}) {
        threads.emplace_back([&, writer] {
            if (!writeAll(writer)) threadsOk = false;
        });
    }
    for (auto& t : threads) t.join();
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_TRUE(threadsOk);

    RegFileRegistry registry(path);
    for (const char* writer : {"process1", "process2", "thread1", "thread2"}) {
        for (int i = 0; i < kWrites; ++i) {
            std::string name = std::string(writer) + "-" + std::to_string(i);
            EXPECT_EQ(QueryRegValue(registry, "Software\\Race", name),
                      Dword(static_cast<std::uint32_t>(i)))
                << name;
        }
    }
    EXPECT_EQ(FolderEntries(dir.path()),
              (std::set<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST(RegFileWriteTest, WaitsWhileAnotherWriterHoldsTheLock) {
    testing::TempDir dir;
    RegFileRegistry registry(dir.File("registry.reg"));
    int lock = ::open(dir.File("registry.reg.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);

    std::atomic<bool> done{false};
    std::thread writer([&] {
        registry.WriteDword("A", "V", 1);
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(done);
    EXPECT_FALSE(std::filesystem::exists(registry.Path()));
    ::close(lock);
    writer.join();
    EXPECT_EQ(QueryRegValue(registry, "A", "V"), Dword(1));
}

TEST(RegFileWriteTest, WritersThroughALinkTakeTheLockOfTheFileItself) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.File("elsewhere"));
    const std::string target = dir.Write("elsewhere/real.reg", Lines({kHeader}));
    std::filesystem::create_symlink(target, dir.File("registry.reg"));
    RegFileRegistry registry(dir.File("registry.reg"));
    int lock = ::open((target + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);

    std::atomic<bool> done{false};
    std::thread writer([&] {
        registry.WriteDword("A", "V", 1);
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(done) << "the write did not wait for the lock beside the file";
    ::close(lock);
    writer.join();
    RegFileRegistry direct(target);
    EXPECT_EQ(QueryRegValue(direct, "A", "V"), Dword(1));
    EXPECT_FALSE(std::filesystem::exists(dir.File("registry.reg.lock")));
}

// Readers take no lock, so they must only ever find a whole file.
TEST(RegFileWriteTest, ReadersNeverSeeAHalfWrittenFile) {
    testing::TempDir dir;
    std::string big = Lines({kHeader, "[HKEY_CURRENT_USER\\A]"});
    for (int i = 0; i < 1500; ++i) big += "\"Filler" + std::to_string(i) + "\"=\"some text\"\r\n";
    big += "\"Last\"=dword:00000001\r\n";
    RegFileRegistry registry(dir.Write("registry.reg", big));

    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        RegFileRegistry readOnly(registry.Path());
        while (!stop) {
            if (QueryRegValue(readOnly, "A", "Last") != Dword(1)) ++torn;
            ++reads;
        }
    });
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(registry.WriteDword("A", "Counter", i));
    stop = true;
    reader.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_GT(reads, 0);
}

}  // namespace
}  // namespace quillmere
