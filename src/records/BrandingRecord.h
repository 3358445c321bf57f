#pragma once

#include <cstdint>

#include "platform/AppContext.h"
#include "records/BrandingSettings.h"

namespace quillmere {

// `record` points at the 1224-byte branding record. Fills `settings`; on a checksum mismatch shows
// "Branding check failure (software corrupted)" and ends the process with exit code 1.
bool LoadBrandingSettings(const std::uint8_t* record, BrandingValues& settings, AppContext& ctx);

// `area` points at the checksummed area: 250 little-endian words from record offset 60, the last
// being the stored checksum.
bool VerifyRecordChecksum(const std::uint8_t* area);
std::uint32_t WordChecksum(const std::uint8_t* area);
std::uint32_t ByteChecksum(const std::uint8_t* area);

}  // namespace quillmere
