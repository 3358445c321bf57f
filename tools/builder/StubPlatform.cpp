#include "StubPlatform.h"

#include "records/LittleEndian.h"

namespace quillmere::builder {

namespace {

constexpr std::uint16_t kElfMachineX64 = 62;
constexpr std::uint16_t kPeMachineI386 = 0x14C;
constexpr std::uint16_t kPeMachineAmd64 = 0x8664;
constexpr std::size_t kPeHeaderPointerOffset = 0x3C;

std::uint16_t ReadLe16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

}  // namespace

ReaderPlatform PlatformOf(std::span<const std::uint8_t> file) {
    if (file.size() >= 20 && file[0] == 0x7F && file[1] == 'E' && file[2] == 'L' &&
        file[3] == 'F') {
        return ReadLe16(file.data() + 18) == kElfMachineX64 ? ReaderPlatform::LinuxX64
                                                            : ReaderPlatform::Unknown;
    }
    if (file.size() < kPeHeaderPointerOffset + 4 || file[0] != 'M' || file[1] != 'Z') {
        return ReaderPlatform::Unknown;
    }
    const std::uint64_t pe = ReadLe32(file.data() + kPeHeaderPointerOffset);
    if (pe + 6 > file.size() || file[pe] != 'P' || file[pe + 1] != 'E' || file[pe + 2] != 0 ||
        file[pe + 3] != 0) {
        return ReaderPlatform::Unknown;
    }
    switch (ReadLe16(file.data() + pe + 4)) {
        case kPeMachineI386:
            return ReaderPlatform::WindowsI686;
        case kPeMachineAmd64:
            return ReaderPlatform::WindowsX64;
        default:
            return ReaderPlatform::Unknown;
    }
}

std::string_view PlatformName(ReaderPlatform platform) {
    switch (platform) {
        case ReaderPlatform::LinuxX64:
            return "Linux x86-64";
        case ReaderPlatform::WindowsI686:
            return "Windows i686";
        case ReaderPlatform::WindowsX64:
            return "Windows x86-64";
        case ReaderPlatform::Unknown:
            break;
    }
    return "an unknown platform";
}

}  // namespace quillmere::builder
