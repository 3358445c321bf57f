// What every file system promises (platform/FileSystem.h), on each backend of this build and on
// the doubles that the other suites run on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "support/ContractBackends.h"

namespace quillmere::testing {
namespace {

namespace fs = std::filesystem;

bool Write(FileSystem& files, const std::string& path, const std::string& bytes) {
    auto out = files.CreateForWriting(path, FileKind::Document);
    return out && out->Write(bytes.data(), bytes.size()) && out->Close();
}

// The whole file read in small steps, "<cannot open>" or "<read error>".
std::string Read(FileSystem& files, const std::string& path) {
    auto in = files.OpenForReading(path);
    if (!in) return "<cannot open>";
    std::string bytes;
    char chunk[7];
    std::size_t got = 0;
    do {
        if (!in->Read(chunk, sizeof chunk, got)) return "<read error>";
        bytes.append(chunk, got);
    } while (got > 0);
    return in->Close() ? bytes : "<close error>";
}

// Straight to the disk, not through the backend.
std::string WriteOnDisk(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

template <typename Backend>
class FileSystemContract : public ::testing::Test {
  protected:
    FileSystem& files() { return backend.fileSystem(); }
    std::string Path(const std::string& name) const { return backend.folder + name; }
    // Cases that need folders, links or locks on a disk.
    bool OnDisk() const { return *Backend::kNotOnDisk == '\0'; }

    Backend backend;
};

TYPED_TEST_SUITE(FileSystemContract, FileSystemBackends, BackendName);

TYPED_TEST(FileSystemContract, WrittenBytesReadBackWithTheirSize) {
    const std::vector<std::string> contents = {
        std::string("line\r\nnext\n\0\x1a\xff end", 19),
        "",
        std::string(70000, 'q'),
    };
    for (const std::string& bytes : contents) {
        SCOPED_TRACE(bytes.size());
        ASSERT_TRUE(Write(this->files(), this->Path("page.htm"), bytes));
        auto in = this->files().OpenForReading(this->Path("page.htm"));
        ASSERT_NE(in, nullptr);
        EXPECT_EQ(in->Size(), std::optional<std::uint64_t>(bytes.size()));
        in->Close();
        EXPECT_EQ(Read(this->files(), this->Path("page.htm")), bytes);
    }
}

TYPED_TEST(FileSystemContract, CreatingTruncatesAnExistingFile) {
    const std::string path = this->Path("page.htm");
    ASSERT_TRUE(Write(this->files(), path, std::string(100, 'x')));
    for (FileKind kind : {FileKind::Document, FileKind::Program}) {
        auto out = this->files().CreateForWriting(path, kind);
        ASSERT_NE(out, nullptr);
        ASSERT_TRUE(out->Write("ab", 2));
        ASSERT_TRUE(out->Close());
        EXPECT_EQ(Read(this->files(), path), "ab");
    }
}

TYPED_TEST(FileSystemContract, AFileExistsFromItsCreationUntilItIsRemoved) {
    const std::string path = this->Path("page.htm");
    EXPECT_FALSE(this->files().Exists(path));
    EXPECT_EQ(this->files().OpenForReading(path), nullptr);
    EXPECT_FALSE(this->files().RemoveFile(path));

    ASSERT_TRUE(Write(this->files(), path, "x"));
    EXPECT_TRUE(this->files().Exists(path));
    EXPECT_TRUE(this->files().RemoveFile(path));
    EXPECT_FALSE(this->files().Exists(path));
    EXPECT_EQ(this->files().OpenForReading(path), nullptr);
}

TYPED_TEST(FileSystemContract, FoldersAreCreatedOnceAndRemovedOnlyWhenEmpty) {
    if (!this->OnDisk()) GTEST_SKIP() << TypeParam::kNotOnDisk;
    const std::string folder = this->Path("ws");
    EXPECT_EQ(this->files().CreateFolder(folder), CreateDirectoryResult::Created);
    EXPECT_EQ(this->files().CreateFolder(folder), CreateDirectoryResult::AlreadyExists);
    EXPECT_EQ(this->files().CreateFolder(this->Path("missing") + TypeParam::kSeparator + "ws"),
              CreateDirectoryResult::Failed);

    const std::string page = folder + TypeParam::kSeparator + "index.htm";
    ASSERT_TRUE(Write(this->files(), page, "page"));
    EXPECT_FALSE(this->files().RemoveFolder(folder));
    EXPECT_EQ(Read(this->files(), page), "page");
    ASSERT_TRUE(this->files().RemoveFile(page));
    EXPECT_TRUE(this->files().RemoveFolder(folder));
    EXPECT_FALSE(this->files().RemoveFolder(folder));
    EXPECT_EQ(this->files().CreateFolder(folder), CreateDirectoryResult::Created);
}

TYPED_TEST(FileSystemContract, CreatingNeverWritesThroughASymbolicLink) {
    if (!this->OnDisk()) GTEST_SKIP() << TypeParam::kNotOnDisk;
    const std::string victim = WriteOnDisk(this->Path("victim.txt"), "keep me");
    const std::string link = this->Path("page.htm");
    const std::string dangling = this->Path("dangling.htm");
    std::error_code error;
    fs::create_symlink(victim, link, error);
    fs::create_symlink(this->Path("made-through-a-link.txt"), dangling, error);
    // Wine's call reports success and makes nothing.
    if (error || !fs::is_symlink(fs::symlink_status(link)) ||
        !fs::is_symlink(fs::symlink_status(dangling))) {
        GTEST_SKIP() << "this system cannot make a symbolic link to a file";
    }

    for (const std::string& path : {link, dangling}) {
        SCOPED_TRACE(path);
        if (auto out = this->files().CreateForWriting(path, FileKind::Document)) {
            out->Write("overwritten", 11);
            out->Close();
        }
    }
    EXPECT_EQ(ReadFileBytes(victim), "keep me");
    EXPECT_FALSE(fs::exists(this->Path("made-through-a-link.txt")));
}

TYPED_TEST(FileSystemContract, TemporaryFoldersEndWithASeparator) {
    const char separator = TypeParam::kSeparator;
    if (const auto temporary = this->files().TemporaryDirectory()) {
        ASSERT_FALSE(temporary->empty());
        EXPECT_EQ(temporary->back(), separator) << *temporary;
    }
    const std::string fallback = this->files().FallbackTemporaryDirectory();
    ASSERT_FALSE(fallback.empty());
    EXPECT_EQ(fallback.back(), separator) << fallback;
    if (this->OnDisk()) EXPECT_TRUE(fs::is_directory(fallback)) << fallback;
}

// A folder as a viewer leaves it: a page in it.
std::string MakeViewerFolder(FileSystem& files, const std::string& parent, const std::string& name,
                             char separator) {
    const std::string folder = parent + name + separator;
    EXPECT_EQ(files.CreateFolder(parent + name), CreateDirectoryResult::Created);
    EXPECT_TRUE(Write(files, folder + "index.htm", "page"));
    return folder;
}

TYPED_TEST(FileSystemContract, AFolderLockIsHeldOnceAndItsFileStaysUntilRemoved) {
    if (!this->OnDisk()) GTEST_SKIP() << TypeParam::kNotOnDisk;
    const char separator = TypeParam::kSeparator;
    const std::string folder =
        MakeViewerFolder(this->files(), this->backend.folder, "vellumkit__1", separator);
    ASSERT_TRUE(this->files().RemoveFile(folder + "index.htm"));
    const std::string bare = folder.substr(0, folder.size() - 1);

    auto lock = this->files().LockFolder(folder);
    ASSERT_NE(lock, nullptr);
    EXPECT_EQ(this->files().LockFolder(folder), nullptr) << "a second lock of a held folder";
    EXPECT_FALSE(this->files().RemoveFolder(bare)) << "the lock file is in the folder";
    lock.reset();
    EXPECT_FALSE(this->files().RemoveFolder(bare)) << "a released lock keeps its file";

    lock = this->files().LockFolder(this->Path("vellumkit__2") + separator);
    EXPECT_EQ(lock, nullptr) << "a lock in a missing folder";
    ASSERT_EQ(this->files().CreateFolder(this->Path("vellumkit__3")),
              CreateDirectoryResult::Created);
    lock = this->files().LockFolder(this->Path("vellumkit__3") + separator);
    ASSERT_NE(lock, nullptr);
    lock->Remove();
    lock.reset();
    EXPECT_TRUE(this->files().RemoveFolder(this->Path("vellumkit__3")))
        << "something of the lock stayed behind";

    // The released lock's folder is an orphan now (and only the backend can remove a lock file
    // that it keeps out of reach of ordinary calls).
    this->files().RemoveOrphanedFolders(this->backend.folder, "vellumkit__");
    EXPECT_FALSE(fs::exists(bare));
}

TYPED_TEST(FileSystemContract, OrphanedFoldersAreThoseWithATakableLockAndThePrefix) {
    if (!this->OnDisk()) GTEST_SKIP() << TypeParam::kNotOnDisk;
    FileSystem& files = this->files();
    const char separator = TypeParam::kSeparator;
    const std::string parent = this->backend.folder;
    // A viewer that was killed: the lock file stays, its lock went with the process.
    EXPECT_NE(files.LockFolder(MakeViewerFolder(files, parent, "vellumkit__1", separator)),
              nullptr);
    auto running = files.LockFolder(MakeViewerFolder(files, parent, "vellumkit__2", separator));
    ASSERT_NE(running, nullptr);
    MakeViewerFolder(files, parent, "vellumkit__3", separator);  // no lock file
    EXPECT_NE(files.LockFolder(MakeViewerFolder(files, parent, "other__4", separator)), nullptr);
    ASSERT_TRUE(Write(files, parent + "vellumkit__5", "a file"));

    files.RemoveOrphanedFolders(parent, "vellumkit__");

    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(fs::path(this->backend.folder))) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"other__4", "vellumkit__2", "vellumkit__3",
                                              "vellumkit__5"}));
    for (const char* kept : {"vellumkit__2", "vellumkit__3", "other__4"}) {
        EXPECT_EQ(Read(files, parent + kept + separator + "index.htm"), "page") << kept;
    }

    // Once its viewer is gone, a running one's folder is an orphan too.
    running.reset();
    files.RemoveOrphanedFolders(parent, "vellumkit__");
    files.RemoveOrphanedFolders(parent, "other__");
    EXPECT_FALSE(fs::exists(parent + "vellumkit__2"));
    EXPECT_FALSE(fs::exists(parent + "other__4"));
}

}  // namespace
}  // namespace quillmere::testing
