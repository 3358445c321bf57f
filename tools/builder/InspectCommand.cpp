#include "InspectCommand.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

#include "BookFiles.h"
#include "BookSignature.h"
#include "BookSummary.h"
#include "BuilderOptions.h"
#include "DoubleBytePages.h"
#include "StubPlatform.h"
#include "check/BookCheck.h"
#include "check/FindingReport.h"
#include "package/BlowfishCipher.h"
#include "package/PackageKey.h"
#include "package/PlainFileName.h"
#include "records/BrandingRecord.h"
#include "records/LittleEndian.h"
#include "records/PackageDirectory.h"
#include "records/RecordFields.h"
#include "records/RecordText.h"
#include "records/RecordWriter.h"

namespace quillmere::builder {

namespace {

std::string Kind(const std::string& name) {
    const auto dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".htm" || extension == ".html") return "page";
    if (extension == ".exe") return "program";
    return "file";
}

// Collects what is wrong with the records while the book is printed.
struct RecordFaults {
    std::vector<std::string> faults;
    void Fault(std::string text) { faults.push_back(std::move(text)); }
};

void PrintText(std::ostream& out, RecordFaults& findings, const char* label,
               const std::uint8_t* record, std::size_t offset, std::size_t width) {
    const std::uint8_t* field = record + offset;
    out << "  " << label << ": \"" << ReadFieldText(field, width) << "\"\n";
    if (std::find(field, field + width, 0) == field + width) {
        findings.Fault(std::string(label) + " has no terminating zero byte");
    }
}

void InspectBranding(std::ostream& out, RecordFaults& findings, const std::uint8_t* record) {
    const std::uint32_t defaults = ReadLe32(record + kDefaultsFlagOffset);
    out << "Branding record\n"
        << "  defaults flag: " << defaults << (defaults ? " (unmerged: defaults apply)" : "")
        << '\n'
        << "  reseller id: " << static_cast<std::int32_t>(ReadLe32(record + kResellerIdOffset))
        << '\n'
        << "  update code seed: "
        << static_cast<std::int32_t>(ReadLe32(record + kUpdateCodeSeedOffset)) << '\n'
        << "  hide bonus sections: " << ReadLe32(record + kHideBonusSectionsOffset) << '\n';
    PrintText(out, findings, "title", record, kEbookTitleOffset, kEbookTitleWidth);
    PrintText(out, findings, "reseller name", record, kResellerNameOffset, kResellerTextWidth);
    PrintText(out, findings, "reseller site", record, kResellerSiteOffset, kResellerTextWidth);
    PrintText(out, findings, "reseller url", record, kResellerUrlOffset, kResellerTextWidth);
    PrintText(out, findings, "description", record, kEbookDescriptionOffset,
              kEbookDescriptionWidth);
    out << "  fallback title: \""
        << ReadFieldText(record + kFallbackTitleOffset, kFallbackTitleWidth) << "\"\n";

    const std::uint8_t* area = record + kChecksummedAreaOffset;
    const std::uint32_t stored = ReadLe32(record + kRecordChecksumOffset);
    out << "  checksum: " << stored;
    if (WordChecksum(area) == stored) {
        out << " (holds: word sum)\n";
    } else if (ByteChecksum(area) == stored) {
        out << " (holds: byte sum)\n";
    } else {
        out << " (FAILS: word sum " << WordChecksum(area) << ", byte sum " << ByteChecksum(area)
            << ")\n";
        if (defaults == 0) findings.Fault("the branding checksum does not hold");
    }
    if (defaults != 0) findings.Fault("the branding record is not merged");
}

void InspectDirectory(std::ostream& out, RecordFaults& findings, const std::uint8_t* record,
                      std::uint64_t fileSize) {
    const PackageDirectory directory(record);
    const std::uint64_t packageStart = directory.PackageOffset();
    const std::uint64_t packageEnd = packageStart + directory.PackageSize();
    out << "Package directory\n"
        << "  merged: " << (directory.IsMerged() ? "yes" : "no") << '\n'
        << "  file count: " << directory.FileCount() << '\n'
        << "  package: offset " << packageStart << ", size " << directory.PackageSize()
        << ", ends at " << packageEnd << " of " << fileSize << '\n';
    if (!directory.IsMerged()) {
        findings.Fault("the package directory is not merged");
        return;
    }
    if (directory.FileCount() == 0) findings.Fault("the package holds no files");
    if (directory.FileCount() > kMaxEntries) {
        findings.Fault("the file count is above " + std::to_string(kMaxEntries));
    }
    if (directory.PackageSize() % kPackageBlockSize != 0) {
        findings.Fault("the package size is not a multiple of 8");
    }
    if (packageEnd > fileSize) findings.Fault("the package runs past the end of the file");

    const std::uint32_t shown = std::min<std::uint32_t>(directory.FileCount(), kMaxEntries);
    for (std::uint32_t i = 0; i < shown; ++i) {
        const PackageEntry entry = directory.Entry(i);
        const std::uint64_t start = entry.Offset;
        const std::uint64_t end = start + entry.Size;
        out << "  " << i << ": \"" << entry.Name << "\" offset " << start << ", size " << entry.Size
            << ", " << Kind(entry.Name) << '\n';
        const std::string which = "entry " + std::to_string(i) + " \"" + entry.Name + "\"";
        if (start < packageStart || end > packageEnd) {
            findings.Fault(which + " lies outside the package");
        }
        if (entry.Name.size() > kMaxEntryNameLength) {
            findings.Fault(which + " has no terminating zero byte");
        } else if (!IsPlainFileName(entry.Name, LeadBytes())) {
            const std::vector<unsigned> pages = DoubleBytePagesWherePlain(entry.Name);
            if (pages.empty()) {
                findings.Fault(which + " is not a plain file name");
            } else {
                out << "     a plain file name only in code page";
                for (unsigned page : pages) out << ' ' << page;
                out << '\n';
            }
        }
    }
}

// Deciphers a copy of the sound book's package and runs the page check over its files; gives
// how many findings count.
std::size_t CheckPackagedPages(const Bytes& book, const std::uint8_t* directoryRecord,
                               const std::string& bookPath, const BuildOptions& options,
                               std::ostream& out, std::ostream& err) {
    const PackageDirectory directory(directoryRecord);
    Bytes package(book.begin() + directory.PackageOffset(),
                  book.begin() + directory.PackageOffset() + directory.PackageSize());
    CBlowfishCipher cipher(BuildPackageKey().c_str());
    cipher.DecryptBuffer(package.data(), static_cast<std::uint32_t>(package.size()),
                         package.data());
    std::vector<BookEntry> entries;
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < directory.FileCount(); ++i) {
        const PackageEntry entry = directory.Entry(i);
        entries.push_back(
            {entry.Name, std::string_view(reinterpret_cast<const char*>(package.data()) +
                                              (entry.Offset - directory.PackageOffset()),
                                          entry.Size)});
        names.push_back(entry.Name);
    }
    const LeadBytes lead(options.codePage);
    const ReaderPlatform platform = PlatformOf(book);
    PrintSummary(out, bookPath, book.size(), platform, names, lead);
    const std::optional<std::uint64_t> limit =
        platform == ReaderPlatform::WindowsI686 ? std::optional(kLargestI686Book) : std::nullopt;
    return ReportFindings(CheckBook(BookContents(std::move(entries), lead), book.size(), limit),
                          options.allowed, bookPath, err);
}

}  // namespace

int RunInspect(const std::string& bookPath, const BuildOptions& options, std::ostream& out,
               std::ostream& err) {
    std::string error;
    const std::optional<Bytes> book = ReadBytes(bookPath, error);
    if (!book) {
        err << "quillmere-build: " << error << '\n';
        return kExitFailure;
    }
    const RecordBlockSearch search = LocateRecordBlock(*book);
    if (!search.offset) {
        err << "quillmere-build: " << bookPath << ": no record block: " << search.problem << '\n';
        return kExitFailure;
    }
    out << bookPath << ": " << book->size() << " bytes, records at offset " << *search.offset
        << '\n';
    RecordFaults findings;
    const std::uint8_t* block = book->data() + *search.offset;
    InspectBranding(out, findings, block);
    InspectDirectory(out, findings, block + kPackageDirectoryOffset, book->size());
    const PackageDirectory directory(block + kPackageDirectoryOffset);
    const ReaderPlatform platform = PlatformOf(*book);
    // A signing tool appends its certificate table after the package, where a book ends.
    if ((platform == ReaderPlatform::WindowsI686 || platform == ReaderPlatform::WindowsX64) &&
        directory.IsMerged() &&
        std::uint64_t{directory.PackageOffset()} + directory.PackageSize() < book->size()) {
        if (std::string fault = InspectSignature(bookPath, out); !fault.empty()) {
            findings.Fault(fault);
        }
    }

    if (findings.faults.empty()) {
        const std::size_t warnings =
            CheckPackagedPages(*book, block + kPackageDirectoryOffset, bookPath, options, out, err);
        if (options.strict && warnings > 0) {
            out << "fault: " << WithThousands(warnings)
                << (warnings == 1 ? " warning" : " warnings") << " and --strict\n";
            return kExitFailure;
        }
        out << "sound\n";
        return kExitSuccess;
    }
    for (const auto& fault : findings.faults) out << "fault: " << fault << '\n';
    return kExitFailure;
}

}  // namespace quillmere::builder
