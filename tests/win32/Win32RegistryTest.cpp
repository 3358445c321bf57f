#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstring>

#include "platform/win32/Win32Registry.h"
#include "support/Win32TestSupport.h"

namespace quillmere {
namespace {

using testing::ScratchKey;
using testing::SetRegistryValue;

TEST(Win32Registry, DwordWrittenReadsBackAsDword) {
    ScratchKey scratch;
    Win32Registry registry;
    ASSERT_TRUE(registry.WriteDword(scratch.path() + "\\Deep\\Er", "Accepted", 0x12345678));

    auto key = registry.OpenKeyForQuery(scratch.path() + "\\Deep\\Er");
    ASSERT_NE(key, nullptr);
    RegistryValueType type = RegistryValueType::None;
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    EXPECT_EQ(key->QueryValue("Accepted", type, &value, size), kRegistrySuccess);
    EXPECT_EQ(type, RegistryValueType::Dword);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(value, 0x12345678u);
}

TEST(Win32Registry, KeyAndValueNamesIgnoreLetterCase) {
    ScratchKey scratch;
    Win32Registry registry;
    ASSERT_TRUE(registry.WriteDword(scratch.path() + "\\Terms", "Accepted", 1));
    // The same value under other spellings: rewritten, not added beside.
    ASSERT_TRUE(registry.WriteDword(scratch.path() + "\\TERMS", "ACCEPTED", 2));

    auto key = registry.OpenKeyForQuery(scratch.path() + "\\terms");
    ASSERT_NE(key, nullptr);
    RegistryValueType type = RegistryValueType::None;
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    EXPECT_EQ(key->QueryValue("accepted", type, &value, size), kRegistrySuccess);
    EXPECT_EQ(value, 2u);

    DWORD values = 0;
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (scratch.path() + "\\Terms").c_str(), 0,
                            KEY_QUERY_VALUE, &raw),
              ERROR_SUCCESS);
    RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(raw);
    EXPECT_EQ(values, 1u);
}

TEST(Win32Registry, MissingKeysAndValuesAreNotFound) {
    ScratchKey scratch;
    Win32Registry registry;
    EXPECT_EQ(registry.OpenKeyForQuery(scratch.path() + "\\Nowhere"), nullptr);

    ASSERT_TRUE(registry.WriteDword(scratch.path(), "Present", 1));
    auto key = registry.OpenKeyForQuery(scratch.path());
    ASSERT_NE(key, nullptr);
    RegistryValueType type = RegistryValueType::None;
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    EXPECT_EQ(key->QueryValue("Absent", type, &value, size), kRegistryNotFound);
}

TEST(Win32Registry, ValueLargerThanTheBufferGivesItsSizeAndNoData) {
    ScratchKey scratch;
    const std::string text("http://www.example.com/", 24);  // with its terminator
    SetRegistryValue(scratch.path(), "Site", REG_SZ, text);
    Win32Registry registry;
    auto key = registry.OpenKeyForQuery(scratch.path());
    ASSERT_NE(key, nullptr);

    struct Case {
        const char* what;
        std::uint32_t capacity;
        RegistryStatus status;
    };
    for (const Case& c :
         {Case{"too small", 8, kRegistryMoreData}, Case{"one short", 23, kRegistryMoreData},
          Case{"exact", 24, kRegistrySuccess}}) {
        SCOPED_TRACE(c.what);
        std::array<char, 32> buffer;
        buffer.fill('#');
        RegistryValueType type = RegistryValueType::None;
        std::uint32_t size = c.capacity;
        EXPECT_EQ(key->QueryValue("Site", type, buffer.data(), size), c.status);
        EXPECT_EQ(type, RegistryValueType::String);
        EXPECT_EQ(size, 24u);
        if (c.status == kRegistrySuccess) {
            EXPECT_EQ(std::string(buffer.data(), 24), text);
        } else {
            EXPECT_EQ(std::string(buffer.data(), c.capacity), std::string(c.capacity, '#'));
        }
    }

    // Without a buffer, only the size is asked for.
    RegistryValueType type = RegistryValueType::None;
    std::uint32_t size = 0;
    EXPECT_EQ(key->QueryValue("Site", type, nullptr, size), kRegistrySuccess);
    EXPECT_EQ(size, 24u);
}

}  // namespace
}  // namespace quillmere
