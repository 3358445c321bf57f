#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillmere {

// The zero-terminated text of a fixed-width field; a field without a zero byte gives all of its
// `width` bytes, never more.
std::string ReadFieldText(const std::uint8_t* field, std::size_t width);

}  // namespace quillmere
