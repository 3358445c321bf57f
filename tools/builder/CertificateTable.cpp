#include "CertificateTable.h"

#include <algorithm>

#include "StubPlatform.h"
#include "records/LittleEndian.h"

namespace quillmere::builder {

namespace {

constexpr std::size_t kPeHeaderPointerOffset = 0x3C;
constexpr std::size_t kOptionalHeaderOffset = 24;  // after "PE\0\0" and the file header
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::size_t kPe32Directories = 96;
constexpr std::size_t kPe32PlusDirectories = 112;
constexpr std::size_t kSecurityDirectory = 4;
constexpr std::size_t kDirectoryEntrySize = 8;

}  // namespace

void DropCertificateTable(std::vector<std::uint8_t>& book, std::uint64_t packageEnd) {
    if (packageEnd < book.size()) book.resize(static_cast<std::size_t>(packageEnd));
    const ReaderPlatform platform = PlatformOf(book);
    if (platform != ReaderPlatform::WindowsI686 && platform != ReaderPlatform::WindowsX64) return;
    const std::uint64_t optional =
        std::uint64_t{ReadLe32(book.data() + kPeHeaderPointerOffset)} + kOptionalHeaderOffset;
    if (optional + 2 > book.size()) return;
    const std::uint16_t magic =
        static_cast<std::uint16_t>(book[optional] | (book[optional + 1] << 8));
    const std::uint64_t directories =
        optional + (magic == kPe32Magic ? kPe32Directories
                                        : (magic == kPe32PlusMagic ? kPe32PlusDirectories : 0));
    if (directories == optional) return;
    const std::uint64_t entry = directories + kSecurityDirectory * kDirectoryEntrySize;
    if (entry + kDirectoryEntrySize > book.size()) return;
    std::fill_n(book.begin() + static_cast<std::ptrdiff_t>(entry), kDirectoryEntrySize, 0);
}

}  // namespace quillmere::builder
