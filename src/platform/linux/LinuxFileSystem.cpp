#include "platform/linux/LinuxFileSystem.h"

#include "platform/linux/LargeBuffer.h"

namespace quillmere {

HeapBuffer LinuxFileSystem::AllocateFileBuffer(std::size_t size) {
    return AllocateLargeBuffer(size);
}

}  // namespace quillmere
