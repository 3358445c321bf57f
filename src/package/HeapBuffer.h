#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace quillmere {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
// A buffer from the C heap.
using HeapBuffer = std::unique_ptr<std::uint8_t[], FreeDeleter>;

}  // namespace quillmere
