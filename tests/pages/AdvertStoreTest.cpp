#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pages/AdvertStore.h"
#include "support/SeededRegistry.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::SeededRegistry;
using testing::TempDir;

struct TextCase {
    const char* what;
    std::int32_t number;
    AdvertRecord expected;
};

AdvertRecord Record(std::int32_t enabled, std::int32_t hasImage, std::string title,
                    std::string text, std::string link, std::string reserved,
                    std::string excluded) {
    AdvertRecord r;
    r.enabled = enabled;
    r.hasImage = hasImage;
    r.title = std::move(title);
    r.text = std::move(text);
    r.link = std::move(link);
    r.reserved = std::move(reserved);
    r.excludedProduct = std::move(excluded);
    r.latestVersions = " 620_12 638_3";
    return r;
}

std::string Letters(char first, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) s.push_back(static_cast<char>(first + i % 26));
    return s;
}

// The store as the club's programs leave it, one advert number per acceptance rule.
void SeedRules(SeededRegistry& store) {
    const std::string key = kAdvertStoreKey;
    using Type = RegistryValueType;
    store.SeedString(key, "SWUPD", " 620_12 638_3");
    // 20: every value well formed
    store.SeedDword(key, "M20-V1", 1);
    store.SeedString(key, "M20-V2", "Garden Planner");
    store.SeedString(key, "M20-V3", "Plan every bed, week by week.");
    store.SeedString(key, "M20-V4", "http://www.example.org/planner");
    store.SeedString(key, "M20-V5", "kept");
    store.SeedDword(key, "M20-V6", 0);
    store.SeedString(key, "M20-V7", "638");
    // 0: advert number zero has its own prefix
    store.SeedDword(key, "M0-V1", 7);
    store.SeedString(key, "M0-V2", "Zero");
    // 21: wrong types
    store.SeedString(key, "M21-V1", "1");
    store.Seed(key, "M21-V2", Type::ExpandString, std::string("%TEMP%\0", 7));
    store.Seed(key, "M21-V3", Type::MultiString, std::string("a\0b\0\0", 5));
    store.Seed(key, "M21-V4", Type::Binary, std::string("http\0", 5));
    store.Seed(key, "M21-V6", Type::Binary, std::string("\x01\0\0\0", 4));
    store.SeedDword(key, "M21-V7", 1);
    // 22: sizes of numbers and texts
    store.Seed(key, "M22-V1", Type::Dword, std::string("\x01\0\0", 3));
    store.Seed(key, "M22-V6", Type::Dword, std::string("\x01\0\0\0\0\0\0\0", 8));
    store.SeedString(key, "M22-V2", "");
    store.SeedString(key, "M22-V3", Letters('a', 799));
    store.SeedString(key, "M22-V4", Letters('A', 800));
    store.SeedString(key, "M22-V5", "x");
    store.Seed(key, "M22-V7", Type::String, "AB");  // without its terminating zero
    // 23: names in another letter case, and escapes
    store.SeedDword(key, "m23-v1", 0xffffffff);
    store.SeedString(key, "m23-v2", "A \"quoted\" title with a \\ backslash");
    // -5: a negative number still forms a prefix
    store.SeedString(key, "M-5-V2", "Negative");
}

// Byte j of the picture of advert n is (j * 7 + n) mod 256, in chunks of 2000 bytes.
std::string PictureBytes(std::int32_t number, std::size_t from, std::size_t count) {
    std::string bytes;
    for (std::size_t j = from; j < from + count; ++j) {
        bytes.push_back(static_cast<char>((j * 7 + static_cast<std::size_t>(number)) % 256));
    }
    return bytes;
}

void SeedPicture(SeededRegistry& store, std::int32_t number, std::optional<std::uint32_t> size,
                 const std::vector<std::size_t>& chunkSizes,
                 std::optional<std::uint32_t> pictureSwitch = 1) {
    const std::string key = kAdvertStoreKey;
    const std::string prefix = "M" + std::to_string(number) + "-";
    if (pictureSwitch) store.SeedDword(key, prefix + "V6", *pictureSwitch);
    if (size) store.SeedDword(key, prefix + "IMGSZ", *size);
    for (std::size_t i = 0; i < chunkSizes.size(); ++i) {
        const std::string name = prefix + "IMG" + (i < 10 ? "0" : "") + std::to_string(i);
        store.Seed(key, name, RegistryValueType::Binary,
                   PictureBytes(number, i * 2000, chunkSizes[i]));
    }
}

void ExpectSameRecord(const AdvertRecord& actual, const AdvertRecord& expected, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(actual.enabled, expected.enabled);
    EXPECT_EQ(actual.hasImage, expected.hasImage);
    EXPECT_EQ(actual.title, expected.title);
    EXPECT_EQ(actual.text, expected.text);
    EXPECT_EQ(actual.link, expected.link);
    EXPECT_EQ(actual.reserved, expected.reserved);
    EXPECT_EQ(actual.excludedProduct, expected.excludedProduct);
    EXPECT_EQ(actual.latestVersions, expected.latestVersions);
}

TEST(AdvertStoreTest, AcceptsOnlyValuesOfTheRightTypeAndSize) {
    const std::vector<TextCase> cases = {
        {"well formed", 20,
         Record(1, 0, "Garden Planner", "Plan every bed, week by week.",
                "http://www.example.org/planner", "kept", "638")},
        {"advert number zero reads M0-", 0, Record(7, 0, "Zero", "", "", "", "")},
        {"REG_SZ number, REG_EXPAND_SZ title, REG_MULTI_SZ text, binary link and switch, "
         "dword product",
         21, Record(0, 0, "", "", "", "", "")},
        // 3-byte and 8-byte numbers; "" is one byte; 800 bytes fit, 801 do not; a text without
        // its terminating zero loses its last character.
        {"sizes", 22, Record(0, 0, "", Letters('a', 799), "", "x", "A")},
        {"names in another case, escapes", 23,
         Record(-1, 0, "A \"quoted\" title with a \\ backslash", "", "", "", "")},
        {"negative number", -5, Record(0, 0, "Negative", "", "", "", "")},
        {"unknown number still reads SWUPD", 999, Record(0, 0, "", "", "", "", "")},
    };
    TempDir dir;
    SeededRegistry store(dir);
    SeedRules(store);
    for (const auto& c : cases) {
        AdvertImageBuffer image;
        ExpectSameRecord(ReadAdvertStore(store.registry(), c.number, image), c.expected, c.what);
        EXPECT_EQ(image.size, 0u) << c.what;
    }
}

TEST(AdvertStoreTest, PictureNeedsSwitchSizeAndEveryChunkExactly) {
    struct PictureCase {
        const char* what;
        std::int32_t number;
        std::uint32_t size;
    };
    const std::vector<PictureCase> cases = {
        {"24575 bytes: 13 chunks, the last of 575", 1, 24575},
        {"24576 bytes is too large", 2, 0},
        {"4000 bytes: IMG02 ignored", 3, 4000},
        {"4001 bytes: IMG02 of one byte", 4, 4001},
        {"chunk one byte too long", 5, 0},
        {"chunk one byte too short", 6, 0},
        {"chunk stored as REG_SZ", 7, 0},
        {"picture switch zero", 8, 0},
        {"picture switch missing", 9, 0},
        {"chunk missing", 10, 0},
        {"size stored as binary", 11, 0},
        {"size zero", 12, 0},
        {"one byte", 13, 1},
    };
    TempDir dir;
    SeededRegistry store(dir);
    const std::vector<std::size_t> twelve(12, 2000);
    std::vector<std::size_t> chunks = twelve;
    chunks.push_back(575);
    SeedPicture(store, 1, 24575, chunks);
    chunks.back() = 576;
    SeedPicture(store, 2, 24576, chunks);
    SeedPicture(store, 3, 4000, {2000, 2000});
    store.Seed(kAdvertStoreKey, "M3-IMG02", RegistryValueType::Binary, "extra");
    SeedPicture(store, 4, 4001, {2000, 2000, 1});
    SeedPicture(store, 5, 4001, {2000, 2000, 2});
    SeedPicture(store, 6, 4000, {2000, 1999});
    SeedPicture(store, 7, 4000, {2000});
    store.SeedString(kAdvertStoreKey, "M7-IMG01", "not a picture");
    SeedPicture(store, 8, 4000, {2000, 2000}, 0);
    SeedPicture(store, 9, 4000, {2000, 2000}, std::nullopt);
    SeedPicture(store, 10, 4000, {2000});
    SeedPicture(store, 11, std::nullopt, {2000, 2000});
    store.Seed(kAdvertStoreKey, "M11-IMGSZ", RegistryValueType::Binary, "\xa0\x0f\0\0");
    SeedPicture(store, 12, 0, {});
    SeedPicture(store, 13, 1, {1});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AdvertImageBuffer image;
        image.size = 77;  // left from an earlier page
        AdvertRecord record = ReadAdvertStore(store.registry(), c.number, image);
        ASSERT_EQ(image.size, c.size);
        for (std::uint32_t j = 0; j < image.size; ++j) {
            ASSERT_EQ(image.bytes[j], static_cast<std::uint8_t>((j * 7 + c.number) % 256))
                << "byte " << j;
        }
        EXPECT_EQ(record.hasImage, c.number == 8 || c.number == 9 ? 0 : 1);
    }
}

TEST(AdvertStoreTest, MissingKeyGivesEmptyRecordAndKeepsThePicture) {
    TempDir dir;
    SeededRegistry otherKey(dir);
    otherKey.SeedDword("SOFTWARE\\Tallowbrook\\Other", "M1-V1", 1);
    SeededRegistry empty(dir);
    for (SeededRegistry* store : {&otherKey, &empty}) {
        AdvertImageBuffer image;
        image.size = 123;
        image.bytes[0] = 9;
        ExpectSameRecord(ReadAdvertStore(store->registry(), 1, image), AdvertRecord{},
                         store == &empty ? "nothing stored" : "another key");
        EXPECT_EQ(image.size, 123u);
        EXPECT_EQ(image.bytes[0], 9);
    }
}

// A registry that reports more than the buffer it was offered must not make the reader terminate
// or copy past that buffer.
class OverreportingKey : public RegistryKey {
  public:
    RegistryStatus QueryValue(std::string_view, RegistryValueType& type, void*,
                              std::uint32_t& size) override {
        type = RegistryValueType::String;
        size += 10;
        return kRegistrySuccess;
    }
};

class OverreportingRegistry : public Registry {
  public:
    std::unique_ptr<RegistryKey> OpenKeyForQuery(std::string_view) override {
        return std::make_unique<OverreportingKey>();
    }
    bool WriteDword(std::string_view, std::string_view, std::uint32_t) override { return false; }
};

TEST(AdvertStoreTest, IgnoresSizesLargerThanTheBufferOffered) {
    OverreportingRegistry registry;
    AdvertImageBuffer image;
    AdvertRecord record = ReadAdvertStore(registry, 1, image);
    EXPECT_EQ(record.title, "");
    EXPECT_EQ(record.latestVersions, "");
}

}  // namespace
}  // namespace quillmere
