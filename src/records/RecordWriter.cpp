#include "records/RecordWriter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <limits>

#include "package/PlainFileName.h"
#include "records/BrandingRecord.h"
#include "records/LittleEndian.h"
#include "records/RecordFields.h"
#include "records/Signatures.h"

namespace quillmere {

namespace {

struct TextField {
    const char* label;
    const std::string* text;
    std::size_t offset;
    std::size_t width;
};

std::string CheckFieldText(const TextField& field) {
    const std::size_t limit = field.width - 1;
    if (field.text->size() > limit) {
        return std::string(field.label) + " is " + std::to_string(field.text->size()) +
               " bytes long; at most " + std::to_string(limit) + " fit";
    }
    if (field.text->find('\0') != std::string::npos) {
        return std::string(field.label) + " contains a zero byte";
    }
    return {};
}

void PutFieldText(std::uint8_t* record, std::size_t offset, std::size_t width,
                  const std::string& text) {
    std::memset(record + offset, 0, width);
    std::copy(text.begin(), text.end(), record + offset);
}

}  // namespace

std::string FillBrandingRecord(std::uint8_t* record, const BrandingValues& values) {
    const std::array<TextField, 5> fields = {{
        {"the title", &values.EbookTitle, kEbookTitleOffset, kEbookTitleWidth},
        {"the reseller name", &values.ResellerName, kResellerNameOffset, kResellerTextWidth},
        {"the reseller site", &values.ResellerSite, kResellerSiteOffset, kResellerTextWidth},
        {"the reseller url", &values.ResellerUrl, kResellerUrlOffset, kResellerTextWidth},
        {"the description", &values.EbookDescription, kEbookDescriptionOffset,
         kEbookDescriptionWidth},
    }};
    for (const auto& field : fields) {
        if (std::string problem = CheckFieldText(field); !problem.empty()) return problem;
    }

    std::memset(record + kChecksummedAreaOffset, 0, kChecksummedByteCount + 4);
    WriteLe32(record + kResellerIdOffset, static_cast<std::uint32_t>(values.ResellerId));
    WriteLe32(record + kUpdateCodeSeedOffset, static_cast<std::uint32_t>(values.UpdateCodeSeed));
    WriteLe32(record + kHideBonusSectionsOffset,
              static_cast<std::uint32_t>(values.HideBonusSections));
    for (const auto& field : fields) PutFieldText(record, field.offset, field.width, *field.text);
    // Readers fall back to this copy when the title field is empty; keep the two in step.
    if (!values.EbookTitle.empty()) {
        PutFieldText(record, kFallbackTitleOffset, kFallbackTitleWidth, values.EbookTitle);
    }
    StoreRecordChecksum(record);
    return {};
}

void StoreRecordChecksum(std::uint8_t* record) {
    WriteLe32(record + kRecordChecksumOffset, WordChecksum(record + kChecksummedAreaOffset));
}

std::optional<std::uint32_t> PackageLength(const std::vector<PackagedFile>& files,
                                           std::uint32_t packageOffset) {
    std::uint64_t total = 0;
    for (const auto& file : files) total += file.size;
    const std::uint64_t padded =
        (total + kPackageBlockSize - 1) / kPackageBlockSize * kPackageBlockSize;
    if (packageOffset + padded > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(padded);
}

std::string CheckPackagedFileName(const std::string& name, const LeadBytes& leadBytes) {
    if (name.size() > kMaxEntryNameLength) {
        return "the file name \"" + name + "\" is " + std::to_string(name.size()) +
               " bytes long; at most " + std::to_string(kMaxEntryNameLength) + " fit";
    }
    if (!IsPlainFileName(name, leadBytes)) {
        return "\"" + name + "\" is not a plain file name";
    }
    return {};
}

std::string FillPackageDirectory(std::uint8_t* record, const std::vector<PackagedFile>& files,
                                 std::uint32_t packageOffset, const LeadBytes& leadBytes) {
    if (files.size() > kMaxEntries) {
        return std::to_string(files.size()) + " files given; a book holds at most " +
               std::to_string(kMaxEntries);
    }
    for (const auto& file : files) {
        if (std::string problem = CheckPackagedFileName(file.name, leadBytes); !problem.empty()) {
            return problem;
        }
    }
    const std::optional<std::uint32_t> length = PackageLength(files, packageOffset);
    if (!length) return "the files do not fit in a book of at most 4 GiB";

    std::memset(record + kFileCountOffset, 0, kPackageDirectorySize - kFileCountOffset);
    WriteLe32(record + kFileCountOffset, static_cast<std::uint32_t>(files.size()));
    WriteLe32(record + kPackageOffsetOffset, packageOffset);
    WriteLe32(record + kPackageSizeOffset, *length);
    std::uint32_t offset = packageOffset;
    std::uint8_t* entry = record + kEntriesOffset;
    for (const auto& file : files) {
        WriteLe32(entry, offset);
        WriteLe32(entry + kEntrySizeFieldOffset, file.size);
        std::copy(file.name.begin(), file.name.end(), entry + kEntryNameOffset);
        offset += file.size;
        entry += kEntrySize;
    }
    return {};
}

std::optional<std::size_t> FindSignature(std::span<const std::uint8_t> bytes,
                                         std::span<const char> signature, std::size_t from) {
    if (from >= bytes.size() || signature.empty()) return std::nullopt;
    auto matches = [](std::uint8_t byte, char c) { return byte == static_cast<std::uint8_t>(c); };
    auto found = std::search(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(),
                             signature.begin(), signature.end(), matches);
    if (found == bytes.end()) return std::nullopt;
    return static_cast<std::size_t>(found - bytes.begin());
}

RecordBlockSearch LocateRecordBlock(std::span<const std::uint8_t> file) {
    const Signature branding = BrandingSignature();
    const Signature directory = DirectorySignature();
    const auto first = FindSignature(file, branding);
    if (!first) return {std::nullopt, "the branding record's signature is not in the file"};
    const std::size_t block = *first;

    const auto directoryAt = FindSignature(file, directory);
    if (!directoryAt) {
        return {std::nullopt, "the package directory's signature is not in the file"};
    }
    if (*directoryAt != block + kPackageDirectoryOffset) {
        return {std::nullopt, "the package directory does not directly follow the branding record"};
    }
    // Each signature appears twice in the block and nowhere else.
    const auto titleSignature = FindSignature(file, branding, block + 1);
    if (titleSignature != block + kTitleSignatureOffset ||
        FindSignature(file, branding, *titleSignature + 1)) {
        return {std::nullopt, "the branding signature occurs elsewhere than the record places it"};
    }
    const auto trailing = FindSignature(file, directory, *directoryAt + 1);
    if (trailing != block + kTrailingSignatureOffset ||
        FindSignature(file, directory, *trailing + 1)) {
        return {std::nullopt,
                "the package directory signature occurs elsewhere than the record places it"};
    }
    if (file.size() < block + kStubRecordBlockSize) {
        return {std::nullopt, "the record block runs past the end of the file"};
    }
    return {block, {}};
}

}  // namespace quillmere
