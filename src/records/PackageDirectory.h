#pragma once

#include <cstdint>
#include <string>

namespace quillmere {

struct PackageEntry {
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0;
    std::string Name;
};

// Read-only view of the 10160-byte package directory record.
class PackageDirectory {
  public:
    explicit PackageDirectory(const std::uint8_t* record);

    bool IsMerged() const;
    std::uint32_t FileCount() const;
    std::uint32_t PackageOffset() const;
    std::uint32_t PackageSize() const;
    PackageEntry Entry(std::uint32_t i) const;

  private:
    const std::uint8_t* record_;
};

}  // namespace quillmere
