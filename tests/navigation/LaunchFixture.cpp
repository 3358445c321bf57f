#include "navigation/LaunchFixture.h"

#include <cstring>

namespace quillmere::testing {

namespace {

constexpr std::size_t kFileCountAt = 60;
constexpr std::size_t kEntriesAt = 160;
constexpr std::size_t kEntrySize = 100;
constexpr std::size_t kNameAt = 8;
constexpr std::size_t kNameField = 92;

void PutWord(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

TestPackage::TestPackage()
    : record_(kPackageDirectorySize, 0),
      // Something before the package, so no entry starts at offset 0, then the four zero bytes.
      image_(64 + 4, 'X') {
    std::memset(image_.data() + 64, 0, 4);
}

void TestPackage::Add(const std::string& name, const std::string& content) {
    const std::uint32_t offset = imageSize();
    image_.insert(image_.end() - 4, content.begin(), content.end());
    AddRaw(name, offset, static_cast<std::uint32_t>(content.size()));
}

void TestPackage::AddRaw(const std::string& name, std::uint32_t offset, std::uint32_t size) {
    std::uint8_t* entry = record_.data() + kEntriesAt + kEntrySize * count_;
    PutWord(entry, offset);
    PutWord(entry + 4, size);
    std::memcpy(entry + kNameAt, name.data(), std::min(name.size(), kNameField - 1));
    SetFileCount(count_ + 1);
}

void TestPackage::SetFileCount(std::uint32_t count) {
    if (count <= 100) count_ = count;
    PutWord(record_.data() + kFileCountAt, count);
}

}  // namespace quillmere::testing
