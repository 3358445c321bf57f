#pragma once

#include <string>
#include <vector>

namespace quillmere::builder {

// The double-byte code pages (932, 936, 949, 950) in which `name` is a plain file name. A name
// that is plain only there holds a 0x5C byte that is the trail byte of a two-byte character.
std::vector<unsigned> DoubleBytePagesWherePlain(const std::string& name);

}  // namespace quillmere::builder
