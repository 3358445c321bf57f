#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "records/BrandingRecord.h"
#include "records/LittleEndian.h"
#include "records/PackageDirectory.h"
#include "records/RecordFields.h"
#include "records/RecordText.h"
#include "records/RecordWriter.h"
#include "records/Signatures.h"
#include "support/RecordsTestContext.h"

namespace quillmere {
namespace {

using testing::UnmergedBlockCopy;

BrandingValues FullValues() {
    BrandingValues values;
    values.ResellerId = 100042;
    values.UpdateCodeSeed = 2147483647;
    values.HideBonusSections = 1;
    values.EbookTitle = std::string(59, 'T');
    values.ResellerName = std::string(99, 'N');
    values.ResellerSite = std::string(99, 'S');
    values.ResellerUrl = std::string(99, 'U');
    values.EbookDescription = std::string(595, 'D');
    return values;
}

TEST(FillBrandingRecordTest, WritesAMergedRecordTheLoaderReadsBack) {
    auto block = UnmergedBlockCopy();
    block[80] = 0x5A;  // a reserved word must come out zero
    ASSERT_EQ(FillBrandingRecord(block.data(), FullValues()), "");

    EXPECT_EQ(ReadLe32(block.data() + kDefaultsFlagOffset), 0u);
    EXPECT_EQ(ReadLe32(block.data() + 80), 0u);
    EXPECT_EQ(ReadLe32(block.data() + kRecordChecksumOffset),
              WordChecksum(block.data() + kChecksummedAreaOffset));
    EXPECT_EQ(ReadFieldText(block.data() + kFallbackTitleOffset, kFallbackTitleWidth),
              std::string(59, 'T'));

    testing::RecordsTestContext context;
    BrandingValues loaded;
    LoadBrandingSettings(block.data(), loaded, context.ctx);
    const BrandingValues want = FullValues();
    EXPECT_EQ(loaded.ResellerId, want.ResellerId);
    EXPECT_EQ(loaded.UpdateCodeSeed, want.UpdateCodeSeed);
    EXPECT_EQ(loaded.HideBonusSections, want.HideBonusSections);
    EXPECT_EQ(loaded.EbookTitle, want.EbookTitle);
    EXPECT_EQ(loaded.ResellerName, want.ResellerName);
    EXPECT_EQ(loaded.ResellerSite, want.ResellerSite);
    EXPECT_EQ(loaded.ResellerUrl, want.ResellerUrl);
    EXPECT_EQ(loaded.EbookDescription, want.EbookDescription);
    EXPECT_TRUE(context.dialogs.shown.empty());
}

TEST(FillBrandingRecordTest, ShorterTextsLeaveNoTraceOfLongerOnes) {
    auto block = UnmergedBlockCopy();
    ASSERT_EQ(FillBrandingRecord(block.data(), FullValues()), "");
    BrandingValues shorter;
    shorter.ResellerName = "Al";
    ASSERT_EQ(FillBrandingRecord(block.data(), shorter), "");
    const std::uint8_t* name = block.data() + kResellerNameOffset;
    EXPECT_TRUE(std::all_of(name + 2, name + kResellerTextWidth, [](auto b) { return b == 0; }));
}

TEST(FillBrandingRecordTest, WithoutATitleTheFallbackStaysUnfilled) {
    auto block = UnmergedBlockCopy();
    ASSERT_EQ(FillBrandingRecord(block.data(), BrandingValues{}), "");
    EXPECT_EQ(ReadFieldText(block.data() + kFallbackTitleOffset, kFallbackTitleWidth).substr(0, 5),
              "12345");
}

TEST(FillBrandingRecordTest, RefusesTextsThatDoNotFitAndLeavesTheRecordAlone) {
    struct Case {
        const char* field;
        void (*spoil)(BrandingValues&);
    };
    const Case cases[] = {
        {"title", [](BrandingValues& v) { v.EbookTitle += 'x'; }},
        {"reseller name", [](BrandingValues& v) { v.ResellerName += 'x'; }},
        {"reseller site", [](BrandingValues& v) { v.ResellerSite += 'x'; }},
        {"reseller url", [](BrandingValues& v) { v.ResellerUrl += 'x'; }},
        {"description", [](BrandingValues& v) { v.EbookDescription += 'x'; }},
        {"reseller name", [](BrandingValues& v) { v.ResellerName = std::string("a\0b", 3); }},
    };
    for (const Case& c : cases) {
        BrandingValues values = FullValues();
        c.spoil(values);
        auto block = UnmergedBlockCopy();
        const auto before = block;
        const std::string problem = FillBrandingRecord(block.data(), values);
        EXPECT_NE(problem.find(c.field), std::string::npos) << problem;
        EXPECT_EQ(block, before) << c.field;
    }
}

std::vector<std::uint8_t> DirectoryOf(std::vector<std::uint8_t>& block) {
    return std::vector<std::uint8_t>(
        block.begin() + kPackageDirectoryOffset,
        block.begin() + kPackageDirectoryOffset + kPackageDirectorySize);
}

TEST(FillPackageDirectoryTest, LaysFilesBackToBackAtAbsoluteOffsets) {
    auto block = UnmergedBlockCopy();
    auto record = DirectoryOf(block);
    const std::string longest(kMaxEntryNameLength, 'n');
    const std::vector<PackagedFile> files = {
        {"index.html", 100}, {"empty.txt", 0}, {longest, 13}, {"Tool.exe", 50}};
    ASSERT_EQ(FillPackageDirectory(record.data(), files, 376832, LeadBytes()), "");

    const PackageDirectory directory(record.data());
    EXPECT_TRUE(directory.IsMerged());
    EXPECT_EQ(directory.FileCount(), 4u);
    EXPECT_EQ(directory.PackageOffset(), 376832u);
    EXPECT_EQ(directory.PackageSize(), 168u);  // 163 bytes padded to whole blocks
    std::uint32_t expectedOffset = 376832;
    for (std::uint32_t i = 0; i < files.size(); ++i) {
        const PackageEntry entry = directory.Entry(i);
        EXPECT_EQ(entry.Name, files[i].name);
        EXPECT_EQ(entry.Offset, expectedOffset);
        EXPECT_EQ(entry.Size, files[i].size);
        expectedOffset += files[i].size;
    }
    std::uint8_t* unused = record.data() + kEntriesOffset + kEntrySize * files.size();
    EXPECT_TRUE(std::all_of(unused, record.data() + record.size(), [](auto b) { return b == 0; }));
    const Signature signature = DirectorySignature();
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), record.begin()));
}

TEST(FillPackageDirectoryTest, PadsThePackageToWholeBlocks) {
    struct Case {
        std::uint32_t total, padded;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 8}, Case{7, 8}, Case{8, 8}, Case{9, 16}}) {
        EXPECT_EQ(PackageLength({{"a", c.total}}, 1000), c.padded) << c.total;
    }
    EXPECT_EQ(PackageLength({{"a", 0xFFFFFFF0u}}, 8), 0xFFFFFFF0u);
    EXPECT_EQ(PackageLength({{"a", 0xFFFFFFF0u}}, 16), std::nullopt);
    EXPECT_EQ(PackageLength({{"a", 0x80000000u}, {"b", 0x80000000u}}, 0), std::nullopt);
}

TEST(FillPackageDirectoryTest, RefusesWhatAReaderCannotUseAndLeavesTheRecordAlone) {
    std::vector<PackagedFile> tooMany(kMaxEntries + 1, PackagedFile{"f", 1});
    for (std::size_t i = 0; i < tooMany.size(); ++i) tooMany[i].name = "f" + std::to_string(i);
    struct Case {
        const char* what;
        std::vector<PackagedFile> files;
        std::uint32_t packageOffset;
    };
    const Case cases[] = {
        {"101 files", tooMany, 0},
        {"92-byte name", {{std::string(kEntryNameWidth, 'n'), 1}}, 0},
        {"empty name", {{"", 1}}, 0},
        {"folder part", {{"pages/index.html", 1}}, 0},
        {"backslash", {{"pages\\index.html", 1}}, 0},
        {"drive colon", {{"c:index.html", 1}}, 0},
        {"parent", {{"..", 1}}, 0},
        {"device", {{"con.htm", 1}}, 0},
        {"zero byte", {{std::string("a\0b.html", 8), 1}}, 0},
        {"past 4 GiB", {{"big", 0x20}}, 0xFFFFFFF0u},
    };
    for (const Case& c : cases) {
        auto block = UnmergedBlockCopy();
        auto record = DirectoryOf(block);
        const auto before = record;
        EXPECT_NE(FillPackageDirectory(record.data(), c.files, c.packageOffset, LeadBytes()), "")
            << c.what;
        EXPECT_EQ(record, before) << c.what;
    }
}

std::vector<std::uint8_t> FileWithBlock(std::size_t before, std::size_t after) {
    std::vector<std::uint8_t> file(before, 0x90);
    const auto block = UnmergedBlockCopy();
    file.insert(file.end(), block.begin(), block.end());
    file.insert(file.end(), after, 0x90);
    return file;
}

void Plant(std::vector<std::uint8_t>& file, std::size_t at, const Signature& signature) {
    std::copy(signature.begin(), signature.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

TEST(LocateRecordBlockTest, FindsTheBlockWhereItLies) {
    const auto file = FileWithBlock(12345, 300);
    const RecordBlockSearch search = LocateRecordBlock(file);
    EXPECT_EQ(search.offset, 12345u) << search.problem;
    EXPECT_EQ(FindSignature(file, DirectorySignature()), 12345u + kPackageDirectoryOffset);
    EXPECT_EQ(FindSignature(file, DirectorySignature(), 12345u + kPackageDirectoryOffset + 1),
              12345u + kTrailingSignatureOffset);
}

TEST(LocateRecordBlockTest, RefusesSignaturesElsewhereThanTheLayoutPlacesThem) {
    const std::size_t at = 1000;
    struct Case {
        const char* what;
        void (*change)(std::vector<std::uint8_t>&);
    };
    const Case cases[] = {
        {"no branding signature", [](auto& f) { f[at + 5] = '#'; }},
        {"no title signature", [](auto& f) { f[at + kTitleSignatureOffset + 5] = '#'; }},
        {"no directory signature", [](auto& f) { f[at + kPackageDirectoryOffset + 5] = '#'; }},
        {"no trailing copy", [](auto& f) { f[at + kTrailingSignatureOffset + 5] = '#'; }},
        {"branding signature before", [](auto& f) { Plant(f, 100, BrandingSignature()); }},
        {"branding signature after",
         [](auto& f) {
             f.resize(f.size() + 60);
             Plant(f, f.size() - 60, BrandingSignature());
         }},
        {"directory signature before", [](auto& f) { Plant(f, 100, DirectorySignature()); }},
        {"directory signature after",
         [](auto& f) { Plant(f, f.size() - 70, DirectorySignature()); }},
        {"block cut short", [](auto& f) { f.resize(at + kStubRecordBlockSize - 1); }},
        {"empty file", [](auto& f) { f.clear(); }},
    };
    for (const Case& c : cases) {
        auto file = FileWithBlock(at, 100);
        c.change(file);
        const RecordBlockSearch search = LocateRecordBlock(file);
        EXPECT_FALSE(search.offset) << c.what;
        EXPECT_NE(search.problem, "") << c.what;
    }
}

}  // namespace
}  // namespace quillmere
