#pragma once

#include <cstdint>

#include "records/PackageDirectory.h"
#include "records/RecordFields.h"

namespace quillmere {

// True when a merged, non-empty directory keeps the rules the builder follows: at most 100
// entries, the package inside the image of `imageSize` bytes, every entry inside the package.
// Anything else would make extraction read outside the image.
bool IsPackageDirectorySound(const PackageDirectory& directory, std::uint64_t imageSize);

}  // namespace quillmere
