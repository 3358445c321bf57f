#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/linux/LargeBuffer.h"

namespace quillmere {
namespace {

struct Mapping {
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
    std::string flags;  // the kernel's VmFlags, two letters each
};

// The mapping of this process that starts at `address`, from /proc/self/smaps.
std::optional<Mapping> MappingAt(const void* address) {
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    std::optional<Mapping> found;
    while (std::getline(smaps, line)) {
        std::uintptr_t begin = 0, end = 0;
        char dash = 0;
        std::istringstream fields(line);
        if (fields >> std::hex >> begin >> dash >> end && dash == '-') {
            if (found) return found;  // the next mapping began without VmFlags: none recorded
            if (begin == reinterpret_cast<std::uintptr_t>(address)) found = Mapping{begin, end, ""};
        } else if (found && line.rfind("VmFlags:", 0) == 0) {
            found->flags = line.substr(8);
            return found;
        }
    }
    return found;
}

bool HasFlag(const Mapping& mapping, const char* flag) {
    return (" " + mapping.flags + " ").find(std::string(" ") + flag + " ") != std::string::npos;
}

// Every byte of the buffer can be written and reads back.
void ExpectUsable(std::uint8_t* buffer, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) buffer[i] = static_cast<std::uint8_t>(i * 7 + i / 4096);
    for (std::size_t i = 0; i < size; ++i) {
        if (buffer[i] != static_cast<std::uint8_t>(i * 7 + i / 4096)) {
            ADD_FAILURE() << "byte " << i << " of " << size;
            return;
        }
    }
}

TEST(LargeBufferTest, SmallBuffersComeFromTheHeapAndLargeOnesAreMappingsOfTheirOwn) {
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    struct Case {
        std::size_t size;
        std::size_t mappedLength;  // 0: from the C heap
    };
    const Case cases[] = {
        {0, 0},
        {1, 0},
        {kLargeBufferThreshold - 1, 0},
        {kLargeBufferThreshold, kHuge},
        {kLargeBufferThreshold + 4, 2 * kHuge},
        {13'619'000, 7 * kHuge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        HeapBuffer buffer = AllocateLargeBuffer(c.size);
        ASSERT_TRUE(buffer);
        ExpectUsable(buffer.get(), c.size);
        if (c.mappedLength == 0) {
            EXPECT_EQ(buffer.get_deleter().release, nullptr);
            continue;
        }
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.get()) % kHuge, 0u);
        const std::optional<Mapping> mapping = MappingAt(buffer.get());
        ASSERT_TRUE(mapping);
        EXPECT_EQ(mapping->end - mapping->begin, c.mappedLength);
        // Forked children (the web view's processes) get no copy-on-write share of it.
        EXPECT_TRUE(HasFlag(*mapping, "dc")) << mapping->flags;
        const void* address = buffer.get();
        buffer.reset();
        EXPECT_FALSE(MappingAt(address)) << "still mapped after release";
    }
}

}  // namespace
}  // namespace quillmere
