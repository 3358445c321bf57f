#pragma once

#include <cstdint>
#include <vector>

namespace quillmere::builder {

// Cuts `book` to `packageEnd`, where a book ends, dropping what a signing tool appended after
// the package; in a Windows program also clears the header's pointer to the certificate table,
// so the copy reads as unsigned.
void DropCertificateTable(std::vector<std::uint8_t>& book, std::uint64_t packageEnd);

}  // namespace quillmere::builder
