#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace quillmere {

// Releases a buffer the way it was obtained: through `release` when one is given (a platform's
// own mapping of `size` bytes), else with std::free.
struct BufferRelease {
    void (*release)(void* memory, std::size_t size) = nullptr;
    std::size_t size = 0;

    void operator()(void* memory) const {
        if (release != nullptr) {
            release(memory, size);
        } else {
            std::free(memory);
        }
    }
};
// A buffer from the C heap, or from the platform's own allocation for large files.
using HeapBuffer = std::unique_ptr<std::uint8_t[], BufferRelease>;

}  // namespace quillmere
