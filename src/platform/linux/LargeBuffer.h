#pragma once

#include <cstddef>

#include "platform/HeapBuffer.h"

namespace quillmere {

// Buffers of at least this size get a mapping of their own.
inline constexpr std::size_t kLargeBufferThreshold = std::size_t{2} << 20;

// `size` bytes, not zeroed. Below kLargeBufferThreshold they come from the C heap. Larger ones
// are a private mapping aligned to 2 MiB and advised to use huge pages, prefaulted where the
// kernel can, and left out of forked children: a book's image is filled and deciphered right
// after the web view forks its processes, and every page shared with a child would have to be
// copied on its first write. nullptr when there is no memory.
HeapBuffer AllocateLargeBuffer(std::size_t size);

}  // namespace quillmere
