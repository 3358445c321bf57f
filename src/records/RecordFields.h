#pragma once

#include <cstddef>

#include "records/RecordLayout.h"

namespace quillmere {

// Branding record: offsets from the first byte of its signature.
inline constexpr std::size_t kDefaultsFlagOffset = 60;
inline constexpr std::size_t kResellerIdOffset = 64;
inline constexpr std::size_t kUpdateCodeSeedOffset = 68;
inline constexpr std::size_t kHideBonusSectionsOffset = 72;
inline constexpr std::size_t kEbookTitleOffset = 100;
inline constexpr std::size_t kEbookTitleWidth = 60;
inline constexpr std::size_t kResellerNameOffset = 160;
inline constexpr std::size_t kResellerSiteOffset = 260;
inline constexpr std::size_t kResellerUrlOffset = 360;
inline constexpr std::size_t kResellerTextWidth = 100;
inline constexpr std::size_t kEbookDescriptionOffset = 460;
inline constexpr std::size_t kEbookDescriptionWidth = 596;
inline constexpr std::size_t kRecordChecksumOffset = 1056;
inline constexpr std::size_t kTitleSignatureOffset = 1060;
inline constexpr std::size_t kFallbackTitleOffset = 1120;
inline constexpr std::size_t kFallbackTitleWidth = kBrandingRecordSize - kFallbackTitleOffset;

// The checksummed area runs from the defaults flag up to and including the stored checksum.
inline constexpr std::size_t kChecksummedAreaOffset = kDefaultsFlagOffset;
inline constexpr std::size_t kChecksummedWordCount = 249;
inline constexpr std::size_t kChecksummedByteCount = 4 * kChecksummedWordCount;

// Package directory: offsets from the first byte of its signature.
inline constexpr std::size_t kFileCountOffset = 60;
inline constexpr std::size_t kPackageOffsetOffset = 64;
inline constexpr std::size_t kPackageSizeOffset = 68;
inline constexpr std::size_t kEntriesOffset = 160;
inline constexpr std::size_t kEntrySize = 100;
inline constexpr std::size_t kMaxEntries = 100;
inline constexpr std::size_t kEntrySizeFieldOffset = 4;
inline constexpr std::size_t kEntryNameOffset = 8;
inline constexpr std::size_t kEntryNameWidth = 92;
inline constexpr std::size_t kMaxEntryNameLength = kEntryNameWidth - 1;

// An unmerged stub holds this where the first entry goes.
inline constexpr char kMergePlaceholder[] = "12345678901234567890123456789012345678901234567890";
inline constexpr std::size_t kMergePlaceholderLength = sizeof(kMergePlaceholder) - 1;
// An unfilled fallback title begins with this.
inline constexpr char kUnfilledTitleMark[] = "12345";

// The packaged bytes are enciphered in blocks of this size.
inline constexpr std::size_t kPackageBlockSize = 8;

// Where the trailing copy of the directory signature lies in the record block.
inline constexpr std::size_t kTrailingSignatureOffset =
    kPackageDirectoryOffset + kPackageDirectorySize;

static_assert(kEntriesOffset + kMaxEntries * kEntrySize == kPackageDirectorySize);
static_assert(kRecordChecksumOffset == kChecksummedAreaOffset + kChecksummedByteCount);

}  // namespace quillmere
