#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quillmere::builder {

// Where a viewer stub (and so a book made from it) runs, read from its executable header.
enum class ReaderPlatform { Unknown, LinuxX64, WindowsI686, WindowsX64 };

ReaderPlatform PlatformOf(std::span<const std::uint8_t> file);

// "Linux x86-64", "Windows i686", "Windows x86-64", or "an unknown platform".
std::string_view PlatformName(ReaderPlatform platform);

}  // namespace quillmere::builder
