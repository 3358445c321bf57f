#include "app/PackageDirectoryCheck.h"

namespace quillmere {

bool IsPackageDirectorySound(const PackageDirectory& directory, std::uint64_t imageSize) {
    const std::uint32_t count = directory.FileCount();
    if (count > kMaxEntries) return false;
    const std::uint64_t packageBegin = directory.PackageOffset();
    const std::uint64_t packageEnd = packageBegin + directory.PackageSize();
    if (packageEnd > imageSize) return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        const PackageEntry entry = directory.Entry(i);
        const std::uint64_t begin = entry.Offset;
        const std::uint64_t end = begin + entry.Size;
        if (begin < packageBegin || end > packageEnd) return false;
    }
    return true;
}

}  // namespace quillmere
