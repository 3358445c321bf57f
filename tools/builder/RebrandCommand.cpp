#include "RebrandCommand.h"

#include <filesystem>
#include <system_error>

#include "BookFiles.h"
#include "BookSignature.h"
#include "BookSummary.h"
#include "CertificateTable.h"
#include "OutputPath.h"
#include "records/LittleEndian.h"
#include "records/PackageDirectory.h"
#include "records/RecordFields.h"
#include "records/RecordText.h"
#include "records/RecordWriter.h"

namespace quillmere::builder {

namespace fs = std::filesystem;

namespace {

int Refuse(std::ostream& err, const std::string& why) {
    err << "quillmere-build: " << why << "; nothing written\n";
    return kExitFailure;
}

std::int32_t ReadInt(const std::uint8_t* record, std::size_t offset) {
    return static_cast<std::int32_t>(ReadLe32(record + offset));
}

// The book's own values, replaced by those of the options given.
BrandingValues MergedValues(const std::uint8_t* record, const BuildOptions& options) {
    BrandingValues values;
    values.ResellerId = ReadInt(record, kResellerIdOffset);
    values.UpdateCodeSeed = ReadInt(record, kUpdateCodeSeedOffset);
    values.HideBonusSections = ReadInt(record, kHideBonusSectionsOffset);
    values.EbookTitle = ReadFieldText(record + kEbookTitleOffset, kEbookTitleWidth);
    values.ResellerName = ReadFieldText(record + kResellerNameOffset, kResellerTextWidth);
    values.ResellerSite = ReadFieldText(record + kResellerSiteOffset, kResellerTextWidth);
    values.ResellerUrl = ReadFieldText(record + kResellerUrlOffset, kResellerTextWidth);
    values.EbookDescription =
        ReadFieldText(record + kEbookDescriptionOffset, kEbookDescriptionWidth);
    const BrandingValues& given = options.branding;
    const auto wants = [&](const char* name) { return options.brandingGiven.count(name) > 0; };
    if (wants("--reseller-id")) values.ResellerId = given.ResellerId;
    if (wants("--update-seed")) values.UpdateCodeSeed = given.UpdateCodeSeed;
    if (wants("--hide-bonus") || wants("--show-bonus")) {
        values.HideBonusSections = given.HideBonusSections;
    }
    if (wants("--title")) values.EbookTitle = given.EbookTitle;
    if (wants("--reseller-name")) values.ResellerName = given.ResellerName;
    if (wants("--reseller-site")) values.ResellerSite = given.ResellerSite;
    if (wants("--reseller-url")) values.ResellerUrl = given.ResellerUrl;
    if (wants("--description")) values.EbookDescription = given.EbookDescription;
    return values;
}

}  // namespace

int RunRebrand(const std::string& bookPath, const BuildOptions& options, std::ostream& out,
               std::ostream& err) {
    if (std::string problem = CheckOutputPath(options.outPath, bookPath, {}, "the book itself");
        !problem.empty()) {
        return Refuse(err, problem);
    }
    std::string error;
    std::optional<Bytes> book = ReadBytes(bookPath, error);
    if (!book) return Refuse(err, error);
    const RecordBlockSearch search = LocateRecordBlock(*book);
    if (!search.offset) return Refuse(err, bookPath + ": not a book: " + search.problem);
    std::uint8_t* record = book->data() + *search.offset;
    const PackageDirectory directory(record + kPackageDirectoryOffset);
    const std::uint64_t packageEnd =
        std::uint64_t{directory.PackageOffset()} + directory.PackageSize();
    if (ReadLe32(record + kDefaultsFlagOffset) != 0 || !directory.IsMerged() ||
        directory.FileCount() == 0 || packageEnd > book->size()) {
        return Refuse(err, bookPath + ": not a finished book (--inspect tells what is wrong)");
    }
    if (std::string problem = FillBrandingRecord(record, MergedValues(record, options));
        !problem.empty()) {
        return Refuse(err, problem);
    }
    if (std::string problem = CheckSignable(options.signing, PlatformOf(*book)); !problem.empty()) {
        return Refuse(err, problem);
    }
    DropCertificateTable(*book, packageEnd);

    std::error_code code;
    const fs::perms permissions = fs::status(bookPath, code).permissions();
    if (code) return Refuse(err, bookPath + ": " + code.message());
    if (!WriteBook(options.outPath, {&*book}, permissions, options.signing, error)) {
        return Refuse(err, error);
    }
    if (!options.quiet) {
        std::vector<std::string> names;
        for (std::uint32_t i = 0; i < directory.FileCount() && i < kMaxEntries; ++i) {
            names.push_back(directory.Entry(i).Name);
        }
        PrintSummary(out, options.outPath, book->size(), PlatformOf(*book), names,
                     LeadBytes(options.codePage));
    }
    return kExitSuccess;
}

}  // namespace quillmere::builder
