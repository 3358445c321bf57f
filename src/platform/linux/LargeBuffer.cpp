#include "platform/linux/LargeBuffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

namespace quillmere {

namespace {

constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

void Unmap(void* memory, std::size_t size) { munmap(memory, size); }

void Advise(void* memory, std::size_t size) {
    // Each advice only makes the buffer cheaper; a kernel without one works all the same.
#ifdef MADV_HUGEPAGE
    madvise(memory, size, MADV_HUGEPAGE);
#endif
#ifdef MADV_DONTFORK
    madvise(memory, size, MADV_DONTFORK);
#endif
#ifdef MADV_POPULATE_WRITE
    // One call instead of a fault for every page when the file is read in.
    madvise(memory, size, MADV_POPULATE_WRITE);
#endif
}

}  // namespace

HeapBuffer AllocateLargeBuffer(std::size_t size) {
    if (size < kLargeBufferThreshold) {
        return HeapBuffer(static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size)));
    }
    if (size > SIZE_MAX - 2 * kHugePageSize) return nullptr;
    const std::size_t length = (size + kHugePageSize - 1) & ~(kHugePageSize - 1);
    // Over-allocate by one huge page, then give back what lies outside the aligned part.
    const std::size_t mapped = length + kHugePageSize;
    void* mapping =
        mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) return nullptr;
    auto* start = static_cast<std::uint8_t*>(mapping);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(start);
    auto* aligned = start + ((kHugePageSize - address % kHugePageSize) % kHugePageSize);
    if (aligned != start) munmap(start, static_cast<std::size_t>(aligned - start));
    const std::size_t tail = static_cast<std::size_t>(start + mapped - (aligned + length));
    if (tail != 0) munmap(aligned + length, tail);
    Advise(aligned, length);
    return HeapBuffer(aligned, BufferRelease{Unmap, length});
}

}  // namespace quillmere
