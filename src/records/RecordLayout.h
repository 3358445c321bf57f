#pragma once

#include <cstddef>

namespace quillmere {

inline constexpr std::size_t kSignatureLength = 60;
inline constexpr std::size_t kBrandingRecordSize = 1224;
inline constexpr std::size_t kPackageDirectorySize = 10160;
// Branding record, package directory, then a second copy of the signature and four zero bytes.
inline constexpr std::size_t kStubRecordBlockSize =
    kBrandingRecordSize + kPackageDirectorySize + kSignatureLength + 4;
inline constexpr std::size_t kPackageDirectoryOffset = kBrandingRecordSize;

}  // namespace quillmere
