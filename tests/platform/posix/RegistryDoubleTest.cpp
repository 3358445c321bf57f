// The in-memory registry that the page tests use answers every kind of query as the registry
// file does, so what passes against it holds for the real one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/posix/RegFileRegistry.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

struct Answer {
    RegistryStatus status;
    std::uint32_t size;
    std::string bytes;
    bool operator==(const Answer&) const = default;
};

Answer Ask(Registry& registry, const char* name, bool withBuffer, std::uint32_t capacity) {
    auto key = registry.OpenKeyForQuery("Software\\Tallowbrook\\Adverts");
    if (!key) return {kRegistryNotFound, 0, "no key"};
    std::vector<char> buffer(capacity + 1, '#');
    RegistryValueType type = RegistryValueType::None;
    std::uint32_t size = capacity;
    const RegistryStatus status =
        key->QueryValue(name, type, withBuffer ? buffer.data() : nullptr, size);
    return {status, size, withBuffer ? std::string(buffer.data(), capacity) : ""};
}

TEST(RegistryDoubleTest, AnswersEveryQueryAsTheRegistryFileDoes) {
    testing::TempDir dir;
    RegFileRegistry file(
        dir.Write("registry.reg",
                  "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Tallowbrook\\Adverts]"
                  "\r\n\"M1-V2\"=\"Planner\"\r\n\"M1-V1\"=dword:00000001\r\n"));
    testing::MemoryRegistry memory;
    memory.SetString("Software\\Tallowbrook\\Adverts", "M1-V2", "Planner");
    memory.SetDword("Software\\Tallowbrook\\Adverts", "M1-V1", 1);

    const struct {
        const char* name;
        bool withBuffer;
        std::uint32_t capacity;
    } queries[] = {
        {"M1-V2", false, 0},  // the size alone, as readers ask before they allocate
        {"M1-V2", false, 3},  // the size alone, whatever the capacity says
        {"M1-V2", true, 3},   // too small
        {"M1-V2", true, 8},   // exactly the text and its zero
        {"m1-v1", true, 4},   // names in another letter case
        {"M1-V9", false, 0},  // missing
    };
    for (const auto& q : queries) {
        SCOPED_TRACE(std::string(q.name) + (q.withBuffer ? " into a buffer of " : " size, ") +
                     std::to_string(q.capacity));
        EXPECT_EQ(Ask(memory, q.name, q.withBuffer, q.capacity),
                  Ask(file, q.name, q.withBuffer, q.capacity));
    }
}

}  // namespace
}  // namespace quillmere
