#include "records/PackageDirectory.h"

#include <algorithm>

#include "records/LittleEndian.h"
#include "records/RecordFields.h"
#include "records/RecordText.h"

namespace quillmere {

PackageDirectory::PackageDirectory(const std::uint8_t* record) : record_(record) {}

bool PackageDirectory::IsMerged() const {
    const std::uint8_t* first = record_ + kEntriesOffset;
    return !std::equal(first, first + kMergePlaceholderLength, kMergePlaceholder);
}

std::uint32_t PackageDirectory::FileCount() const { return ReadLe32(record_ + kFileCountOffset); }

std::uint32_t PackageDirectory::PackageOffset() const {
    return ReadLe32(record_ + kPackageOffsetOffset);
}

std::uint32_t PackageDirectory::PackageSize() const {
    return ReadLe32(record_ + kPackageSizeOffset);
}

PackageEntry PackageDirectory::Entry(std::uint32_t i) const {
    // The record has room for 100 entries; a count above that must not lead a reader past it.
    if (i >= kMaxEntries) return {};
    const std::uint8_t* entry = record_ + kEntriesOffset + kEntrySize * i;
    PackageEntry result;
    result.Offset = ReadLe32(entry);
    result.Size = ReadLe32(entry + kEntrySizeFieldOffset);
    result.Name = ReadFieldText(entry + kEntryNameOffset, kEntryNameWidth);
    return result;
}

}  // namespace quillmere
