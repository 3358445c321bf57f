#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScopedEnvironment.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::ReadFileBytes;
using testing::ScopedEnvironment;
using testing::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

bool WriteFile(PosixFileSystem& files, const std::string& path, const std::string& bytes,
               FileKind kind = FileKind::Document) {
    auto file = files.CreateForWriting(path, kind);
    return file && file->Write(bytes.data(), bytes.size()) && file->Close();
}

TEST(PosixFileSystemTest, WrittenFileReadsBackAndEndsWithZeroBytes) {
    TempDir dir;
    PosixFileSystem files;
    const std::string path = dir.File("page.html");
    ASSERT_TRUE(WriteFile(files, path, "<p>hello</p>"));

    auto in = files.OpenForReading(path);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Size(), 12u);
    char buffer[64] = {};
    std::size_t got = 0;
    ASSERT_TRUE(in->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(std::string(buffer, got), "<p>hello</p>");
    ASSERT_TRUE(in->Read(buffer, sizeof buffer, got));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(in->Close());
}

TEST(PosixFileSystemTest, EmptyFileHasSizeZeroAndReadsNothing) {
    TempDir dir;
    PosixFileSystem files;
    auto in = files.OpenForReading(dir.Write("empty", ""));
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Size(), 0u);
    char byte = 0;
    std::size_t got = 99;
    EXPECT_TRUE(in->Read(&byte, 1, got));
    EXPECT_EQ(got, 0u);
}

TEST(PosixFileSystemTest, ReadingFailsForMissingFileAndReportsErrorForFolder) {
    TempDir dir;
    PosixFileSystem files;
    EXPECT_EQ(files.OpenForReading(dir.File("missing")), nullptr);

    // A folder opens read-only but cannot be read: that must be an error, not an empty file.
    auto folder = files.OpenForReading(dir.path().string());
    ASSERT_NE(folder, nullptr);
    char byte = 0;
    std::size_t got = 0;
    EXPECT_FALSE(folder->Read(&byte, 1, got));
}

TEST(PosixFileSystemTest, CreatingTruncatesAnExistingFile) {
    TempDir dir;
    PosixFileSystem files;
    const std::string path = dir.Write("page.html", "a much longer earlier content");
    ASSERT_TRUE(WriteFile(files, path, "short"));
    EXPECT_EQ(ReadFileBytes(path), "short");
}

TEST(PosixFileSystemTest, FileModeFollowsKindWhateverTheFileHadBefore) {
    struct Case {
        FileKind kind;
        std::optional<mode_t> before;  // nullopt: the file is new
        mode_t expected;
    };
    const Case cases[] = {
        {FileKind::Document, std::nullopt, 0600}, {FileKind::Program, std::nullopt, 0700},
        {FileKind::Document, 0666, 0600},         {FileKind::Document, 0755, 0600},
        {FileKind::Program, 0644, 0700},          {FileKind::Program, 0000, 0700},
    };
    // A permissive umask must not widen what the viewer writes.
    const mode_t oldMask = umask(0);
    for (const Case& c : cases) {
        TempDir dir;
        PosixFileSystem files;
        const std::string path = dir.File("file");
        if (c.before) {
            dir.Write("file", "old");
            ASSERT_EQ(chmod(path.c_str(), *c.before), 0);
        }
        EXPECT_TRUE(WriteFile(files, path, "new", c.kind));
        EXPECT_EQ(ModeOf(path), c.expected) << "kind " << static_cast<int>(c.kind) << ", before "
                                            << std::oct << c.before.value_or(0);
    }
    umask(oldMask);
}

TEST(PosixFileSystemTest, NeverWritesThroughASymbolicLink) {
    TempDir dir;
    PosixFileSystem files;
    const std::string victim = dir.Write("victim", "keep me");
    ASSERT_EQ(chmod(victim.c_str(), 0644), 0);
    const std::string link = dir.File("temp_webtool_help.html");
    ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
    EXPECT_EQ(files.CreateForWriting(link, FileKind::Document), nullptr);
    EXPECT_EQ(ReadFileBytes(victim), "keep me");
    EXPECT_EQ(ModeOf(victim), 0644u);

    // A dangling link counts as existing, and writing to it creates nothing at its target.
    const std::string dangling = dir.File("dangling");
    const std::string target = dir.File("would-be-created");
    ASSERT_EQ(symlink(target.c_str(), dangling.c_str()), 0);
    EXPECT_TRUE(files.Exists(dangling));
    EXPECT_EQ(files.CreateForWriting(dangling, FileKind::Program), nullptr);
    EXPECT_FALSE(files.Exists(target));
}

TEST(PosixFileSystemTest, NeverWritesThroughAHardLinkOrIntoAnotherUsersFile) {
    TempDir dir;
    PosixFileSystem files;
    const std::string victim = dir.Write("victim", "keep me");
    ASSERT_EQ(chmod(victim.c_str(), 0644), 0);
    const std::string link = dir.File("temp_webtool_help.html");
    ASSERT_EQ(::link(victim.c_str(), link.c_str()), 0);
    EXPECT_EQ(files.CreateForWriting(link, FileKind::Document), nullptr);
    EXPECT_EQ(ReadFileBytes(victim), "keep me");
    EXPECT_EQ(ModeOf(victim), 0644u);

    // Once the other name is gone the file is an ordinary one of ours again.
    ASSERT_EQ(unlink(victim.c_str()), 0);
    EXPECT_TRUE(WriteFile(files, link, "page"));
    EXPECT_EQ(ReadFileBytes(link), "page");

    // Only root can give a file to another user.
    if (geteuid() != 0) GTEST_SKIP() << "needs root to plant a file owned by someone else";
    const std::string foreign = dir.Write("foreign", "theirs");
    ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
    EXPECT_EQ(files.CreateForWriting(foreign, FileKind::Document), nullptr);
    EXPECT_EQ(ReadFileBytes(foreign), "theirs");
}

TEST(PosixFileSystemTest, RefusesTargetsThatAreNotRegularFiles) {
    TempDir dir;
    PosixFileSystem files;
    // A FIFO would block an ordinary open for writing until someone reads it.
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(files.CreateForWriting(fifo, FileKind::Document), nullptr);
    EXPECT_EQ(files.CreateForWriting(dir.path().string(), FileKind::Document), nullptr);
    EXPECT_EQ(files.CreateForWriting(dir.File("no-such-folder/page.html"), FileKind::Document),
              nullptr);
}

TEST(PosixFileSystemTest, ExistsAndRemoveFile) {
    TempDir dir;
    PosixFileSystem files;
    const std::string path = dir.Write("a.jpg", "x");
    EXPECT_TRUE(files.Exists(path));
    EXPECT_TRUE(files.RemoveFile(path));
    EXPECT_FALSE(files.Exists(path));
    EXPECT_FALSE(files.RemoveFile(path));
}

TEST(PosixFileSystemTest, CreateDirectoryReportsEachOutcome) {
    TempDir dir;
    PosixFileSystem files;
    const mode_t oldMask = umask(0);
    const std::string folder = dir.File("vellumkit__1700000000");
    EXPECT_EQ(files.CreateFolder(folder), CreateDirectoryResult::Created);
    EXPECT_EQ(ModeOf(folder), 0700u);
    umask(oldMask);

    EXPECT_EQ(files.CreateFolder(folder), CreateDirectoryResult::AlreadyExists);
    EXPECT_EQ(files.CreateFolder(dir.Write("plain-file", "")),
              CreateDirectoryResult::AlreadyExists);
    EXPECT_EQ(files.CreateFolder(dir.File("missing/child")), CreateDirectoryResult::Failed);
}

TEST(PosixFileSystemTest, RemoveDirectoryOnlyWhenEmpty) {
    TempDir dir;
    PosixFileSystem files;
    const std::string folder = dir.File("workspace");
    ASSERT_EQ(files.CreateFolder(folder), CreateDirectoryResult::Created);
    ASSERT_TRUE(WriteFile(files, folder + "/index.html", "x"));

    EXPECT_FALSE(files.RemoveFolder(folder));
    EXPECT_TRUE(files.Exists(folder + "/index.html"));
    ASSERT_TRUE(files.RemoveFile(folder + "/index.html"));
    EXPECT_TRUE(files.RemoveFolder(folder));
    EXPECT_FALSE(files.Exists(folder));
    EXPECT_FALSE(files.RemoveFolder(folder));
}

TEST(PosixFileSystemTest, TemporaryDirectoryFromTmpdir) {
    struct Case {
        const char* tmpdir;  // nullptr: unset
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "/tmp/"},
        {"", "/tmp/"},
        {"relative/dir", "/tmp/"},
        {"/var/tmp", "/var/tmp/"},
        {"/var/tmp///", "/var/tmp/"},
        {"/", "/"},
        {"/home/a b/t", "/home/a b/t/"},
    };
    PosixFileSystem files;
    for (const Case& c : cases) {
        ScopedEnvironment tmpdir("TMPDIR", c.tmpdir);
        EXPECT_EQ(files.TemporaryDirectory(), std::string(c.expected))
            << "TMPDIR=" << (c.tmpdir ? c.tmpdir : "(unset)");
        // The fallback is for when nothing can be asked, so it never follows TMPDIR.
        EXPECT_EQ(files.FallbackTemporaryDirectory(), "/tmp/");
    }
}

}  // namespace
}  // namespace quillmere

namespace quillmere {
namespace {

// A folder as a viewer leaves it: a page and, unless told otherwise, its lock file.
std::string MakeViewerFolder(const testing::TempDir& dir, const std::string& name) {
    const std::string folder = dir.File(name) + "/";
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "index.html") << "page";
    return folder;
}

TEST(PosixFileSystemTest, OrphanedFoldersAreRemovedAndNothingElse) {
    testing::TempDir dir;
    PosixFileSystem files;
    // Killed viewers: the lock file stays, the lock went with the process.
    files.LockFolder(MakeViewerFolder(dir, "vellumkit__1"));
    const std::string killedWithALink = MakeViewerFolder(dir, "vellumkit__2");
    files.LockFolder(killedWithALink);
    const std::string outside = dir.Write("outside", "keep");
    ASSERT_EQ(symlink(outside.c_str(), (killedWithALink + "link").c_str()), 0);

    const auto running = files.LockFolder(MakeViewerFolder(dir, "vellumkit__3"));
    ASSERT_NE(running, nullptr);
    MakeViewerFolder(dir, "vellumkit__4");  // no lock file: a viewer before its lock, or not one
    const std::string inner = MakeViewerFolder(dir, "vellumkit__5");
    files.LockFolder(inner);
    std::filesystem::create_directory(inner + "sub");     // a viewer never makes folders
    files.LockFolder(MakeViewerFolder(dir, "other__6"));  // another prefix
    const std::string elsewhere = MakeViewerFolder(dir, "target");
    files.LockFolder(elsewhere);
    ASSERT_EQ(symlink(elsewhere.c_str(), dir.File("vellumkit__7").c_str()), 0);
    dir.Write("vellumkit__8", "a file");

    files.RemoveOrphanedFolders(dir.path().string() + "/", "vellumkit__");

    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"other__6", "outside", "target", "vellumkit__3",
                                              "vellumkit__4", "vellumkit__5", "vellumkit__7",
                                              "vellumkit__8"}));
    EXPECT_EQ(ReadFileBytes(outside), "keep");
    EXPECT_TRUE(std::filesystem::exists(elsewhere + "index.html"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("vellumkit__3/index.html")));
    // A folder it could not empty keeps no page but stays.
    EXPECT_FALSE(std::filesystem::exists(inner + "index.html"));
    EXPECT_TRUE(std::filesystem::exists(inner + "sub"));
}

TEST(PosixFileSystemTest, FolderLockIsHeldUntilRemovedWithItsFile) {
    testing::TempDir dir;
    PosixFileSystem files;
    const std::string folder = MakeViewerFolder(dir, "vellumkit__1");
    auto lock = files.LockFolder(folder);
    ASSERT_NE(lock, nullptr);
    EXPECT_EQ(ModeOf(folder + ":lock") & 0777, 0600u);
    EXPECT_EQ(files.LockFolder(folder), nullptr) << "a second lock of the same folder";

    const int other = open((folder + ":lock").c_str(), O_RDWR);
    ASSERT_GE(other, 0);
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0) << "the lock is not held";
    lock->Remove();
    EXPECT_FALSE(files.Exists(folder + ":lock"));
    EXPECT_EQ(flock(other, LOCK_EX | LOCK_NB), 0) << "the lock outlived its removal";
    close(other);
    EXPECT_TRUE(files.RemoveFile(folder + "index.html"));
    EXPECT_TRUE(files.RemoveFolder(folder)) << "something of the lock stayed behind";
}

}  // namespace
}  // namespace quillmere
