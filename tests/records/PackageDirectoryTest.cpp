#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "records/LittleEndian.h"
#include "records/PackageDirectory.h"
#include "records/RecordFields.h"
#include "support/RecordsTestContext.h"

namespace quillmere {
namespace {

// A directory record in a buffer of exactly its size, so the sanitizers catch any read past it.
std::vector<std::uint8_t> UnmergedDirectory() {
    const auto block = testing::UnmergedBlockCopy();
    auto start = block.begin() + kPackageDirectoryOffset;
    return std::vector<std::uint8_t>(start, start + kPackageDirectorySize);
}

std::uint8_t* EntryAt(std::vector<std::uint8_t>& record, std::size_t i) {
    return record.data() + kEntriesOffset + kEntrySize * i;
}

TEST(PackageDirectoryMergeTest, OnlyThePlaceholderBytesDecide) {
    struct Case {
        const char* what;
        std::size_t offset;  // byte changed, or kPackageDirectorySize for none
        bool merged;
    };
    const Case cases[] = {
        {"as built", kPackageDirectorySize, false},
        {"signature", 0, false},
        {"file count", kFileCountOffset, false},
        {"package offset", kPackageOffsetOffset, false},
        {"byte after the placeholder", kEntriesOffset + kMergePlaceholderLength, false},
        {"first placeholder byte", kEntriesOffset, true},
        {"last placeholder byte", kEntriesOffset + kMergePlaceholderLength - 1, true},
    };
    for (const Case& c : cases) {
        auto record = UnmergedDirectory();
        if (c.offset < record.size()) record[c.offset] ^= 0x40;
        EXPECT_EQ(PackageDirectory(record.data()).IsMerged(), c.merged) << c.what;
    }
}

TEST(PackageDirectoryMergeTest, ZeroedEntriesWithNoFilesAreMergedButEmpty) {
    auto record = UnmergedDirectory();
    std::memset(record.data() + kFileCountOffset, 0, record.size() - kFileCountOffset);
    const PackageDirectory directory(record.data());
    EXPECT_TRUE(directory.IsMerged());
    EXPECT_EQ(directory.FileCount(), 0u);
}

TEST(PackageDirectoryMergeTest, APlaceholderStillThereMeansUnmergedWhateverTheCount) {
    auto record = UnmergedDirectory();
    WriteLe32(record.data() + kFileCountOffset, 3);
    const PackageDirectory directory(record.data());
    EXPECT_FALSE(directory.IsMerged());
    EXPECT_EQ(directory.FileCount(), 3u);
}

TEST(PackageDirectoryEntryTest, ReadsHeaderAndAbsoluteEntries) {
    auto record = UnmergedDirectory();
    std::memset(record.data() + kFileCountOffset, 0, record.size() - kFileCountOffset);
    WriteLe32(record.data() + kFileCountOffset, 2);
    WriteLe32(record.data() + kPackageOffsetOffset, 376832);
    WriteLe32(record.data() + kPackageSizeOffset, 417768);
    WriteLe32(EntryAt(record, 0), 376832);
    WriteLe32(EntryAt(record, 0) + 4, 0xFFFFFFF0u);
    std::memcpy(EntryAt(record, 0) + kEntryNameOffset, "index.html", 10);
    const std::string longest(kMaxEntryNameLength, 'n');
    WriteLe32(EntryAt(record, 1), 376840);
    std::memcpy(EntryAt(record, 1) + kEntryNameOffset, longest.data(), longest.size());

    const PackageDirectory directory(record.data());
    EXPECT_EQ(directory.FileCount(), 2u);
    EXPECT_EQ(directory.PackageOffset(), 376832u);
    EXPECT_EQ(directory.PackageSize(), 417768u);
    const PackageEntry first = directory.Entry(0);
    EXPECT_EQ(first.Offset, 376832u);
    EXPECT_EQ(first.Size, 0xFFFFFFF0u);
    EXPECT_EQ(first.Name, "index.html");
    EXPECT_EQ(directory.Entry(1).Name, longest);
}

TEST(PackageDirectoryEntryTest, NeverReadsOutsideTheRecord) {
    auto record = UnmergedDirectory();
    std::memset(record.data() + kFileCountOffset, 0xAB, record.size() - kFileCountOffset);
    const PackageDirectory directory(record.data());

    // The last slot ends the record; a name filling its whole field stops at the record's end.
    const PackageEntry last = directory.Entry(kMaxEntries - 1);
    EXPECT_EQ(last.Name, std::string(kEntryNameWidth, '\xAB'));
    EXPECT_EQ(last.Offset, 0xABABABABu);

    for (std::uint32_t beyond : {100u, 101u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        const PackageEntry entry = directory.Entry(beyond);
        EXPECT_EQ(entry.Offset, 0u) << beyond;
        EXPECT_EQ(entry.Size, 0u) << beyond;
        EXPECT_EQ(entry.Name, "") << beyond;
    }
}

}  // namespace
}  // namespace quillmere
