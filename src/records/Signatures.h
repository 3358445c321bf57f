#pragma once

#include <array>
#include <cstddef>

#include "records/RecordLayout.h"

namespace quillmere {

using Signature = std::array<char, kSignatureLength>;

namespace signature_detail {

// Kept reversed: the plain text must lie in the stub only where the record block puts it, so no
// other constant in the program may spell it out.
inline constexpr char kReversedTail[] =
    "x0u7a3e9r6y4z1s8l5g2f7p0j3h6w4t9c1n8v5klb0cer2eremlliuq[k7";
static_assert(sizeof(kReversedTail) - 1 == kSignatureLength - 2);

constexpr Signature MakeSignature(char first, char second) {
    Signature text{};
    text[0] = first;
    text[1] = second;
    for (std::size_t i = 2; i < kSignatureLength; ++i) {
        text[i] = kReversedTail[kSignatureLength - 1 - i];
    }
    return text;
}

}  // namespace signature_detail

// The two record signatures differ only in their first two characters.
constexpr Signature BrandingSignature() { return signature_detail::MakeSignature('b', 'q'); }
constexpr Signature DirectorySignature() { return signature_detail::MakeSignature('d', 'q'); }

}  // namespace quillmere
