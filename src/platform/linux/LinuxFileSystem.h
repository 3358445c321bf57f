#pragma once

#include "platform/posix/PosixFileSystem.h"

namespace quillmere {

// The POSIX files, with large buffers that are mappings of their own (see LargeBuffer.h).
class LinuxFileSystem : public PosixFileSystem {
  public:
    HeapBuffer AllocateFileBuffer(std::size_t size) override;
};

}  // namespace quillmere
