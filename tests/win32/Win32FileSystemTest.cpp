#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/Win32FileSystem.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

bool Write(FileSystem& files, const std::string& path, const std::string& bytes) {
    auto out = files.CreateForWriting(path, FileKind::Document);
    return out && out->Write(bytes.data(), bytes.size()) && out->Close();
}

std::string Read(FileSystem& files, const std::string& path) {
    auto in = files.OpenForReading(path);
    if (!in) return "<cannot open>";
    std::string bytes;
    char chunk[7];
    std::size_t got = 0;
    while (in->Read(chunk, sizeof chunk, got) && got > 0) bytes.append(chunk, got);
    return bytes;
}

TEST(Win32FileSystem, RoundTripKeepsEveryByteAndTruncates) {
    TempDir dir;
    Win32FileSystem files;
    const std::string path = dir.File("page.htm");
    const std::string bytes("line\r\nnext\n\0\x1a\xff end", 19);
    ASSERT_TRUE(Write(files, path, std::string(100, 'x')));
    ASSERT_TRUE(Write(files, path, bytes));

    EXPECT_EQ(Read(files, path), bytes);
    auto in = files.OpenForReading(path);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Size(), bytes.size());
    EXPECT_TRUE(files.Exists(path));
    in.reset();
    EXPECT_TRUE(files.RemoveFile(path));
    EXPECT_FALSE(files.Exists(path));
    EXPECT_EQ(files.OpenForReading(path), nullptr);
}

TEST(Win32FileSystem, WritingIntoAMissingFolderCreatesNothing) {
    TempDir dir;
    Win32FileSystem files;
    const std::string folder = dir.File("missing");
    EXPECT_EQ(files.CreateForWriting(folder + "\\page.htm", FileKind::Document), nullptr);
    EXPECT_FALSE(files.Exists(folder));
}

TEST(Win32FileSystem, FoldersAreCreatedOnceAndRemovedOnlyWhenEmpty) {
    TempDir dir;
    Win32FileSystem files;
    const std::string folder = dir.File("ws");
    EXPECT_EQ(files.CreateFolder(folder), CreateDirectoryResult::Created);
    EXPECT_EQ(files.CreateFolder(folder), CreateDirectoryResult::AlreadyExists);
    EXPECT_EQ(files.CreateFolder(dir.File("no\\such\\parent")), CreateDirectoryResult::Failed);

    ASSERT_TRUE(Write(files, folder + "\\a.htm", "a"));
    EXPECT_FALSE(files.RemoveFolder(folder));
    ASSERT_TRUE(files.RemoveFile(folder + "\\a.htm"));
    EXPECT_TRUE(files.RemoveFolder(folder));
    EXPECT_FALSE(files.Exists(folder));
}

TEST(Win32FileSystem, NeverWritesIntoAFolderOrADevice) {
    TempDir dir;
    Win32FileSystem files;
    ASSERT_EQ(files.CreateFolder(dir.File("sub")), CreateDirectoryResult::Created);
    EXPECT_EQ(files.CreateForWriting(dir.File("sub"), FileKind::Document), nullptr);
    EXPECT_EQ(files.CreateForWriting("NUL", FileKind::Document), nullptr);
}

TEST(Win32FileSystem, RefusesToWriteThroughASymbolicLink) {
    TempDir dir;
    Win32FileSystem files;
    const std::string victim = dir.Write("victim.txt", "keep me");
    const std::string link = dir.File("page.htm");
    // Wine's CreateSymbolicLinkA reports success and makes nothing.
    if (!CreateSymbolicLinkA(link.c_str(), victim.c_str(), 0) ||
        (GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
        GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "this system cannot make a symbolic link to a file";
    }
    EXPECT_EQ(files.CreateForWriting(link, FileKind::Document), nullptr);
    EXPECT_EQ(ReadFileBytes(victim), "keep me");
    EXPECT_TRUE(files.Exists(link));
}

TEST(Win32FileSystem, TemporaryFolderIsTheUsersWithATrailingBackslash) {
    Win32FileSystem files;
    const auto folder = files.TemporaryDirectory();
    ASSERT_TRUE(folder.has_value());
    // Wine's is C:\users\<user>\Temp\.
    EXPECT_EQ(CharUpperA(folder->substr(0, 9).data()), std::string("C:\\USERS\\"));
    EXPECT_EQ(folder->back(), '\\');
    EXPECT_EQ(files.CreateFolder(*folder), CreateDirectoryResult::AlreadyExists);
}

}  // namespace
}  // namespace quillmere
