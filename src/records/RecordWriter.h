#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/LeadBytes.h"
#include "records/BrandingSettings.h"

namespace quillmere {

// What a builder needs to fill the records of a copy of the stub. Each function leaves the record
// untouched when it returns a problem.

// Writes `values` as a merged branding record: defaults flag 0, reserved words 0, every text
// zero-padded to its field, the fallback title set to the title when there is one, and the word
// checksum. Empty on success; otherwise which value does not fit.
std::string FillBrandingRecord(std::uint8_t* record, const BrandingValues& values);

// Stores the word checksum of the record's checksummed area in its checksum field.
void StoreRecordChecksum(std::uint8_t* record);

struct PackagedFile {
    std::string name;
    std::uint32_t size = 0;
};

// The package's length once padded to the cipher's block size; nullopt when the files do not fit
// after `packageOffset` in a file of at most 4 GiB.
std::optional<std::uint32_t> PackageLength(const std::vector<PackagedFile>& files,
                                           std::uint32_t packageOffset);

// Fills the package directory for `files` laid back to back from `packageOffset` in the given
// order, with the package length from PackageLength. Empty on success; otherwise what is wrong.
// Names are read with `leadBytes`, the reader's code page (none: plain in every code page).
std::string FillPackageDirectory(std::uint8_t* record, const std::vector<PackagedFile>& files,
                                 std::uint32_t packageOffset, const LeadBytes& leadBytes);

// Why `name` cannot name a packaged file for a reader whose code page has `leadBytes`, or empty
// when it can.
std::string CheckPackagedFileName(const std::string& name, const LeadBytes& leadBytes);

// First occurrence of `signature` in `bytes` at or after `from`.
std::optional<std::size_t> FindSignature(std::span<const std::uint8_t> bytes,
                                         std::span<const char> signature, std::size_t from = 0);

struct RecordBlockSearch {
    // Offset of the branding record (the start of the record block) when the layout holds.
    std::optional<std::size_t> offset;
    // Otherwise what was found instead.
    std::string problem;
};

// Finds the record block by the first occurrence of each signature and checks that the
// signatures occur exactly where the block's layout places them and nowhere else.
RecordBlockSearch LocateRecordBlock(std::span<const std::uint8_t> file);

}  // namespace quillmere
