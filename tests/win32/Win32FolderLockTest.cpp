#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/Win32FileSystem.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::TempDir;

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string MakeWorkspace(const TempDir& dir, const std::string& name) {
    const std::string folder = dir.File(name) + "\\";
    EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    dir.Write(name + "\\index.htm", "page");
    return folder;
}

TEST(Win32FolderLock, HeldLockKeepsTheFolderAndAReleasedOneLetsItGo) {
    TempDir dir;
    Win32FileSystem files;
    const std::string held = MakeWorkspace(dir, "vellumkit__1");
    const std::string released = MakeWorkspace(dir, "vellumkit__2");
    const std::string unlocked = MakeWorkspace(dir, "vellumkit__3");
    const std::string otherName = MakeWorkspace(dir, "other__4");

    auto heldLock = files.LockFolder(held);
    ASSERT_NE(heldLock, nullptr);
    EXPECT_EQ(files.LockFolder(held), nullptr) << "a second lock in the same folder";
    ASSERT_NE(files.LockFolder(released), nullptr);  // released at once: its viewer is gone
    auto otherLock = files.LockFolder(otherName);
    ASSERT_NE(otherLock, nullptr);
    otherLock.reset();

    files.RemoveOrphanedFolders(dir.path().string(), "vellumkit__");
    EXPECT_TRUE(FolderExists(held));
    EXPECT_TRUE(files.Exists(held + "index.htm"));
    EXPECT_FALSE(FolderExists(released));
    EXPECT_TRUE(FolderExists(unlocked)) << "a folder without a lock file is not a Workspace";
    EXPECT_TRUE(FolderExists(otherName));

    // Only the "\\?\" form reaches the lock files: the folder's own clean-up removes them.
    heldLock->Remove();
    files.RemoveOrphanedFolders(dir.path().string(), "other__");
    EXPECT_FALSE(FolderExists(otherName));
}

TEST(Win32FolderLock, RemoveDeletesTheLockFileSoTheFolderEmpties) {
    TempDir dir;
    Win32FileSystem files;
    const std::string folder = dir.File("ws") + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    auto lock = files.LockFolder(folder);
    ASSERT_NE(lock, nullptr);
    EXPECT_FALSE(files.RemoveFolder(folder)) << "the lock file is in it";
    lock->Remove();
    EXPECT_TRUE(files.RemoveFolder(folder));
}

}  // namespace
}  // namespace quillmere
