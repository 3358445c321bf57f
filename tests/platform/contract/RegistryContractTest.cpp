// What every registry promises (platform/Registry.h), on each backend of this build and on the
// in-memory double that the page and application tests read through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ContractBackends.h"

namespace quillmere::testing {
namespace {

struct Answer {
    RegistryStatus status = kRegistryNotFound;
    RegistryValueType type = RegistryValueType::None;
    std::uint32_t size = 0;
    std::string bytes;  // the buffer after the query, all of it
    bool operator==(const Answer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Answer& a) {
    return out << "status " << a.status << ", type " << static_cast<std::uint32_t>(a.type)
               << ", size " << a.size << ", bytes \"" << a.bytes << '"';
}

// A query into a buffer of `capacity` bytes filled with '#' beforehand, or without a buffer.
Answer Ask(Registry& registry, const std::string& subkey, std::string_view name,
           std::uint32_t capacity, bool withBuffer = true) {
    auto key = registry.OpenKeyForQuery(subkey);
    if (!key) return {};
    std::string buffer(capacity, '#');
    Answer answer;
    answer.size = capacity;
    answer.status =
        key->QueryValue(name, answer.type, withBuffer ? buffer.data() : nullptr, answer.size);
    if (withBuffer) answer.bytes = buffer;
    return answer;
}

std::string Le32(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
    return bytes;
}

template <typename Backend>
class RegistryContract : public ::testing::Test {
  protected:
    Registry& registry() { return backend.registry(); }
    std::string Key(const std::string& below) const { return backend.root + "\\" + below; }

    Backend backend;
};

TYPED_TEST_SUITE(RegistryContract, RegistryBackends, BackendName);

TYPED_TEST(RegistryContract, ValuesReadBackWithTheirTypeAndEveryByte) {
    const struct {
        const char* name;
        RegistryValueType type;
        std::string bytes;
    } values[] = {
        {"Title", RegistryValueType::String, std::string("Garden Planner\0", 15)},
        {"Empty", RegistryValueType::String, std::string("\0", 1)},
        {"Path", RegistryValueType::ExpandString, std::string("%TEMP%\\x\0", 9)},
        {"Picture", RegistryValueType::Binary, std::string("\0\x01\xff\r\n", 5)},
        {"Number", RegistryValueType::Dword, Le32(0x80000001)},
        {"Lines", RegistryValueType::MultiString, std::string("one\0two\0\0", 9)},
    };
    const std::string key = this->Key("Adverts");
    for (const auto& v : values) this->backend.Seed(key, v.name, v.type, v.bytes);

    for (const auto& v : values) {
        SCOPED_TRACE(v.name);
        const auto size = static_cast<std::uint32_t>(v.bytes.size());
        EXPECT_EQ(Ask(this->registry(), key, v.name, size),
                  (Answer{kRegistrySuccess, v.type, size, v.bytes}));
    }
}

TYPED_TEST(RegistryContract, AValueLargerThanTheBufferGivesItsSizeAndNoData) {
    const std::string key = this->Key("Adverts");
    this->backend.Seed(key, "Site", RegistryValueType::String,
                       std::string("http://www.example.org/\0", 24));
    const struct {
        const char* what;
        std::uint32_t capacity;
        bool withBuffer;
        Answer answer;
    } cases[] = {
        {"nothing fits", 0, true, {kRegistryMoreData, RegistryValueType::String, 24, ""}},
        {"too small", 8, true, {kRegistryMoreData, RegistryValueType::String, 24, "########"}},
        {"one short",
         23,
         true,
         {kRegistryMoreData, RegistryValueType::String, 24, std::string(23, '#')}},
        {"exact",
         24,
         true,
         {kRegistrySuccess, RegistryValueType::String, 24,
          std::string("http://www.example.org/\0", 24)}},
        {"room to spare",
         30,
         true,
         {kRegistrySuccess, RegistryValueType::String, 24,
          std::string("http://www.example.org/\0######", 30)}},
        // Readers ask for the size alone before they make room for the value.
        {"no buffer", 0, false, {kRegistrySuccess, RegistryValueType::String, 24, ""}},
        {"no buffer, whatever the capacity",
         3,
         false,
         {kRegistrySuccess, RegistryValueType::String, 24, ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Ask(this->registry(), key, "Site", c.capacity, c.withBuffer), c.answer);
    }
}

TYPED_TEST(RegistryContract, MissingKeysAndValuesAreNotFound) {
    this->backend.Seed(this->Key("Adverts"), "Present", RegistryValueType::Dword, Le32(1));

    EXPECT_EQ(this->registry().OpenKeyForQuery(this->Key("Nowhere")), nullptr);
    EXPECT_EQ(this->registry().OpenKeyForQuery(this->Key("Adverts\\Below")), nullptr);
    EXPECT_EQ(Ask(this->registry(), this->Key("Adverts"), "Absent", 4).status, kRegistryNotFound);
}

TYPED_TEST(RegistryContract, KeyAndValueNamesIgnoreLetterCase) {
    this->backend.Seed(this->Key("Tallowbrook\\Adverts"), "M1-V2", RegistryValueType::String,
                       std::string("Planner\0", 8));
    const Answer expected{kRegistrySuccess, RegistryValueType::String, 8,
                          std::string("Planner\0", 8)};
    EXPECT_EQ(Ask(this->registry(), this->Key("tallowbrook\\ADVERTS"), "m1-v2", 8), expected);
    EXPECT_EQ(Ask(this->registry(), this->Key("TALLOWBROOK\\adverts"), "M1-v2", 8), expected);
}

TYPED_TEST(RegistryContract, WriteDwordCreatesTheKeyAndKeepsEveryOtherValue) {
    const std::string key = this->Key("Quiet Harbour");
    this->backend.Seed(key, "Title", RegistryValueType::String, std::string("Harbour\0", 8));
    this->backend.Seed(this->Key("Other"), "Kept", RegistryValueType::Dword, Le32(9));

    ASSERT_TRUE(this->registry().WriteDword(key + "\\LU\\Deeper", "Terms", 0x12345678));
    ASSERT_TRUE(this->registry().WriteDword(key, "Count", 1));
    // The same value under other spellings: rewritten, not added beside it.
    ASSERT_TRUE(this->registry().WriteDword(this->Key("QUIET HARBOUR"), "COUNT", 2));

    EXPECT_EQ(Ask(this->registry(), key + "\\LU\\Deeper", "Terms", 4),
              (Answer{kRegistrySuccess, RegistryValueType::Dword, 4, Le32(0x12345678)}));
    EXPECT_EQ(Ask(this->registry(), key, "Count", 4),
              (Answer{kRegistrySuccess, RegistryValueType::Dword, 4, Le32(2)}));
    EXPECT_EQ(
        Ask(this->registry(), key, "Title", 8),
        (Answer{kRegistrySuccess, RegistryValueType::String, 8, std::string("Harbour\0", 8)}));
    EXPECT_EQ(Ask(this->registry(), this->Key("Other"), "Kept", 4),
              (Answer{kRegistrySuccess, RegistryValueType::Dword, 4, Le32(9)}));
}

}  // namespace
}  // namespace quillmere::testing
