#pragma once

#include <array>
#include <cstdint>

#include "records/LittleEndian.h"
#include "records/RecordFields.h"
#include "records/Signatures.h"

namespace quillmere {

using RecordBlock = std::array<std::uint8_t, kStubRecordBlockSize>;

namespace unmerged_detail {

constexpr void Put(RecordBlock& block, std::size_t at, const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) block[at + i] = static_cast<std::uint8_t>(text[i]);
}

}  // namespace unmerged_detail

// The record block as the stub is built: nonzero defaults flag, the fallback title still
// unfilled, and the merge placeholder where the first directory entry goes. Evaluate it only in
// constant initialisers, so the signatures end up nowhere but in the block.
constexpr RecordBlock UnmergedRecordBlock() {
    using unmerged_detail::Put;
    RecordBlock block{};
    const Signature branding = BrandingSignature();
    const Signature directory = DirectorySignature();
    Put(block, 0, branding.data(), kSignatureLength);
    WriteLe32(block.data() + kDefaultsFlagOffset, 1);
    Put(block, kTitleSignatureOffset, branding.data(), kSignatureLength);
    constexpr char kUnfilledTitle[] = "1234567890";
    Put(block, kFallbackTitleOffset, kUnfilledTitle, sizeof(kUnfilledTitle) - 1);
    Put(block, kPackageDirectoryOffset, directory.data(), kSignatureLength);
    Put(block, kPackageDirectoryOffset + kEntriesOffset, kMergePlaceholder,
        kMergePlaceholderLength);
    Put(block, kTrailingSignatureOffset, directory.data(), kSignatureLength);
    return block;
}

}  // namespace quillmere
