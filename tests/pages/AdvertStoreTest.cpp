#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/AdvertStore.h"
#include "platform/posix/RegFileRegistry.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

const std::string kRulesFile = std::string(QUILLMERE_TEST_DATA_DIR) + "/adverts-rules.reg";
const std::string kPicturesFile = std::string(QUILLMERE_TEST_DATA_DIR) + "/adverts-pictures.reg";

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
    RegFileRegistry registry(kRulesFile);
    for (const auto& c : cases) {
        AdvertImageBuffer image;
        ExpectSameRecord(ReadAdvertStore(registry, c.number, image), c.expected, c.what);
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
    RegFileRegistry registry(kPicturesFile);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AdvertImageBuffer image;
        image.size = 77;  // left from an earlier page
        AdvertRecord record = ReadAdvertStore(registry, c.number, image);
        ASSERT_EQ(image.size, c.size);
        for (std::uint32_t j = 0; j < image.size; ++j) {
            ASSERT_EQ(image.bytes[j], static_cast<std::uint8_t>((j * 7 + c.number) % 256))
                << "byte " << j;
        }
        EXPECT_EQ(record.hasImage, c.number == 8 || c.number == 9 ? 0 : 1);
    }
}

TEST(AdvertStoreTest, MissingKeyGivesEmptyRecordAndKeepsThePicture) {
    testing::TempDir dir;
    const std::string otherKey = dir.Write("other.reg",
                                           "Windows Registry Editor Version 5.00\r\n\r\n"
                                           "[HKEY_CURRENT_USER\\SOFTWARE\\Tallowbrook\\Other]\r\n"
                                           "\"M1-V1\"=dword:00000001\r\n");
    for (const std::string& path : {otherKey, dir.File("missing.reg")}) {
        RegFileRegistry registry(path);
        AdvertImageBuffer image;
        image.size = 123;
        image.bytes[0] = 9;
        ExpectSameRecord(ReadAdvertStore(registry, 1, image), AdvertRecord{}, path.c_str());
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
