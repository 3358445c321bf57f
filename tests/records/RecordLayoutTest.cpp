// The record layout a builder and the stub share, pinned by plain numbers rather than by the
// layout constants: a field moved or two fields swapped in the code fail here even when the
// reader and the writer still agree with each other.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "records/BrandingRecord.h"
#include "records/PackageDirectory.h"
#include "records/RecordWriter.h"
#include "records/UnmergedRecordBlock.h"
#include "support/RecordsTestContext.h"

namespace quillmere {
namespace {

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[at + i];
    return value;
}

void PutText(std::vector<std::uint8_t>& bytes, std::size_t at, const std::string& text) {
    std::memcpy(bytes.data() + at, text.data(), text.size());
}

// The text a field holds: up to its first zero byte, never past its width.
std::string GetText(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t width) {
    std::string text;
    for (std::size_t i = at; i < at + width && bytes[i] != 0; ++i) text += char(bytes[i]);
    return text;
}

// The word sum over bytes 60 to 1055 (the sum itself is pinned by known answers elsewhere).
std::uint32_t WordSum(const std::vector<std::uint8_t>& record) {
    return WordChecksum(record.data() + 60);
}

struct TextField {
    const char* name;
    std::size_t offset;
    std::size_t width;
    std::string BrandingValues::*member;
};

// Every text gets a value of its own so that a swap shows.
const TextField kTextFields[] = {
    {"EbookTitle", 100, 60, &BrandingValues::EbookTitle},
    {"ResellerName", 160, 100, &BrandingValues::ResellerName},
    {"ResellerSite", 260, 100, &BrandingValues::ResellerSite},
    {"ResellerUrl", 360, 100, &BrandingValues::ResellerUrl},
    {"EbookDescription", 460, 596, &BrandingValues::EbookDescription},
};

std::string ValueFor(const TextField& field) { return std::string("value of ") + field.name; }

TEST(RecordLayout, TheLoaderReadsEveryBrandingFieldAtItsOffset) {
    std::vector<std::uint8_t> record(1224, 0);
    Put32(record, 60, 0);  // merged
    Put32(record, 64, 100042);
    Put32(record, 68, 306500);
    Put32(record, 72, 1);
    for (const TextField& field : kTextFields) PutText(record, field.offset, ValueFor(field));
    PutText(record, 1120, "fallback title");
    Put32(record, 1056, WordSum(record));

    testing::RecordsTestContext context;
    BrandingValues values;
    ASSERT_TRUE(LoadBrandingSettings(record.data(), values, context.ctx));
    EXPECT_TRUE(context.dialogs.shown.empty());
    EXPECT_EQ(values.ResellerId, 100042);
    EXPECT_EQ(values.UpdateCodeSeed, 306500);
    EXPECT_EQ(values.HideBonusSections, 1);
    for (const TextField& field : kTextFields) {
        EXPECT_EQ(values.*field.member, ValueFor(field)) << field.name;
    }

    // The fallback title lies outside the checksum, at 1120.
    std::memset(record.data() + 100, 0, 60);
    Put32(record, 1056, WordSum(record));
    ASSERT_TRUE(LoadBrandingSettings(record.data(), values, context.ctx));
    EXPECT_EQ(values.EbookTitle, "fallback title");
}

TEST(RecordLayout, TheWriterPutsEveryBrandingFieldAtItsOffset) {
    const RecordBlock unmerged = UnmergedRecordBlock();
    std::vector<std::uint8_t> record(unmerged.begin(), unmerged.begin() + 1224);
    BrandingValues values;
    values.ResellerId = 100042;
    values.UpdateCodeSeed = 306500;
    values.HideBonusSections = 1;
    for (const TextField& field : kTextFields) values.*field.member = ValueFor(field);
    ASSERT_EQ(FillBrandingRecord(record.data(), values), "");

    EXPECT_EQ(Get32(record, 60), 0u);
    EXPECT_EQ(Get32(record, 64), 100042u);
    EXPECT_EQ(Get32(record, 68), 306500u);
    EXPECT_EQ(Get32(record, 72), 1u);
    for (std::size_t at = 76; at < 100; at += 4) EXPECT_EQ(Get32(record, at), 0u) << at;
    for (const TextField& field : kTextFields) {
        EXPECT_EQ(GetText(record, field.offset, field.width), ValueFor(field)) << field.name;
    }
    EXPECT_EQ(Get32(record, 1056), WordSum(record));
    EXPECT_EQ(GetText(record, 1120, 104), "value of EbookTitle");
}

TEST(RecordLayout, TheStubAsBuiltCarriesItsMarkersAtTheirOffsets) {
    const RecordBlock block = UnmergedRecordBlock();
    const std::vector<std::uint8_t> bytes(block.begin(), block.end());
    ASSERT_EQ(bytes.size(), 1224u + 10160u + 64u);

    const std::string branding = GetText(bytes, 0, 60);
    const std::string directory = GetText(bytes, 1224, 60);
    ASSERT_EQ(branding.size(), 60u);
    ASSERT_EQ(directory.size(), 60u);
    EXPECT_NE(branding.substr(0, 2), directory.substr(0, 2));
    EXPECT_EQ(branding.substr(2), directory.substr(2));
    EXPECT_EQ(GetText(bytes, 1060, 60), branding);
    EXPECT_NE(Get32(bytes, 60), 0u);
    EXPECT_EQ(GetText(bytes, 1120, 5), "12345");
    EXPECT_EQ(GetText(bytes, 1224 + 160, 50), "12345678901234567890123456789012345678901234567890");
    // The unused second copy of the directory signature, then four zero bytes.
    EXPECT_EQ(GetText(bytes, 1224 + 10160, 60), directory);
    EXPECT_EQ(Get32(bytes, 1224 + 10160 + 60), 0u);
}

TEST(RecordLayout, TheDirectoryIsReadAtItsOffsets) {
    std::vector<std::uint8_t> record(10160, 0);
    Put32(record, 60, 2);
    Put32(record, 64, 376832);
    Put32(record, 68, 417768);
    Put32(record, 160, 376832);
    Put32(record, 164, 1000);
    PutText(record, 168, "index.html");
    Put32(record, 260, 377832);
    Put32(record, 264, 416768);
    PutText(record, 268, std::string(91, 'n'));

    const PackageDirectory directory(record.data());
    EXPECT_TRUE(directory.IsMerged());
    EXPECT_EQ(directory.FileCount(), 2u);
    EXPECT_EQ(directory.PackageOffset(), 376832u);
    EXPECT_EQ(directory.PackageSize(), 417768u);
    const PackageEntry first = directory.Entry(0);
    EXPECT_EQ(first.Offset, 376832u);
    EXPECT_EQ(first.Size, 1000u);
    EXPECT_EQ(first.Name, "index.html");
    const PackageEntry second = directory.Entry(1);
    EXPECT_EQ(second.Offset, 377832u);
    EXPECT_EQ(second.Size, 416768u);
    EXPECT_EQ(second.Name, std::string(91, 'n'));

    PutText(record, 160, "12345678901234567890123456789012345678901234567890");
    EXPECT_FALSE(PackageDirectory(record.data()).IsMerged());
}

TEST(RecordLayout, TheWriterPutsTheDirectoryAtItsOffsets) {
    const RecordBlock unmerged = UnmergedRecordBlock();
    std::vector<std::uint8_t> record(unmerged.begin() + 1224, unmerged.begin() + 1224 + 10160);
    ASSERT_EQ(FillPackageDirectory(record.data(), {{"index.html", 1000}, {"cover.jpg", 13}}, 376832,
                                   LeadBytes()),
              "");

    EXPECT_EQ(Get32(record, 60), 2u);
    EXPECT_EQ(Get32(record, 64), 376832u);
    EXPECT_EQ(Get32(record, 68), 1016u);  // 1013 bytes padded to whole cipher blocks
    for (std::size_t at = 72; at < 160; at += 4) EXPECT_EQ(Get32(record, at), 0u) << at;
    EXPECT_EQ(Get32(record, 160), 376832u);
    EXPECT_EQ(Get32(record, 164), 1000u);
    EXPECT_EQ(GetText(record, 168, 92), "index.html");
    EXPECT_EQ(Get32(record, 260), 377832u);
    EXPECT_EQ(Get32(record, 264), 13u);
    EXPECT_EQ(GetText(record, 268, 92), "cover.jpg");
    for (std::size_t at = 360; at < 10160; ++at) ASSERT_EQ(record[at], 0) << at;
}

}  // namespace
}  // namespace quillmere
