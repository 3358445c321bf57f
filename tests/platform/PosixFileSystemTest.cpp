#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

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
