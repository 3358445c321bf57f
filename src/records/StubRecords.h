#pragma once

#include <cstdint>

namespace quillmere {

// The record block in the stub's own initialised data (kStubRecordBlockSize bytes). Defined only
// in the stub executable; read through this pointer so the built-in values are never folded.
const std::uint8_t* StubRecordBlock();

}  // namespace quillmere
