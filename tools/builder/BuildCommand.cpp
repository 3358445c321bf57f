#include "BuildCommand.h"

#include <filesystem>
#include <limits>
#include <map>
#include <system_error>

#include "BookFiles.h"
#include "BookSignature.h"
#include "BookSummary.h"
#include "DoubleBytePages.h"
#include "FolderContents.h"
#include "OutputPath.h"
#include "StubPlatform.h"
#include "check/BookCheck.h"
#include "check/FindingReport.h"
#include "package/BlowfishCipher.h"
#include "package/MultibyteText.h"
#include "package/PackageKey.h"
#include "records/LittleEndian.h"
#include "records/PackageDirectory.h"
#include "records/RecordFields.h"
#include "records/RecordWriter.h"

namespace quillmere::builder {

namespace fs = std::filesystem;

namespace {

int Refuse(std::ostream& err, const std::string& why) {
    err << "quillmere-build: " << why << "; nothing written\n";
    return kExitFailure;
}

// The packaged names, checked before any file is read, as the readers' code page reads them.
// Code page 0 has no lead bytes, so every byte is a character of its own: the strictest reading,
// as lead bytes only make more names plain and fold fewer bytes. What passes it passes in every
// code page.
std::string CheckNames(const std::vector<InputFile>& inputs, unsigned codePage,
                       std::vector<PackagedFile>& files) {
    const LeadBytes leadBytes(codePage);
    if (inputs.size() > kMaxEntries) {
        return std::to_string(inputs.size()) + " files given; a book holds at most " +
               std::to_string(kMaxEntries);
    }
    std::map<std::string, std::string> seen;  // lowered name -> the name packaged first
    for (const auto& [path, folder] : inputs) {
        PackagedFile file;
        file.name = fs::path(path).filename().string();
        if (std::string problem = CheckPackagedFileName(file.name, leadBytes); !problem.empty()) {
            if (codePage == 0 && file.name.size() <= kMaxEntryNameLength &&
                !DoubleBytePagesWherePlain(file.name).empty()) {
                problem += " in every code page; --code-page names the readers' code page";
            }
            return std::string(path).append(": ").append(problem);
        }
        // On the reader's side one name would overwrite the other, and Windows folds case.
        const auto [first, added] = seen.emplace(LowerAnsi(file.name, leadBytes), file.name);
        if (!added) {
            return path + ": another file is already packaged as \"" + first->second + "\"";
        }
        files.push_back(file);
    }
    return {};
}

std::string CheckStub(const Bytes& stub, std::size_t block) {
    if (stub.size() > std::numeric_limits<std::uint32_t>::max()) return "the stub is over 4 GiB";
    const std::uint8_t* record = stub.data() + block;
    const PackageDirectory directory(record + kPackageDirectoryOffset);
    if (ReadLe32(record + kDefaultsFlagOffset) == 0 || directory.IsMerged()) {
        return "the stub's records are already filled in (is it a book?); use the unmerged stub";
    }
    return {};
}

// Runs the page check on the files as the author wrote them; gives how many findings count.
std::size_t CheckPages(const BuildOptions& options, const std::vector<PackagedFile>& files,
                       const Bytes& package, std::uint64_t bookSize, ReaderPlatform platform,
                       std::ostream& err) {
    std::vector<BookEntry> entries;
    std::size_t at = 0;
    for (const PackagedFile& file : files) {
        entries.push_back(
            {file.name,
             std::string_view(reinterpret_cast<const char*>(package.data()) + at, file.size)});
        at += file.size;
    }
    const BookContents contents(std::move(entries), LeadBytes(options.codePage));
    const std::optional<std::uint64_t> limit =
        platform == ReaderPlatform::WindowsI686 ? std::optional(kLargestI686Book) : std::nullopt;
    return ReportFindings(CheckBook(contents, bookSize, limit), options.allowed, options.outPath,
                          err);
}

}  // namespace

int RunBuild(const BuildOptions& options, std::ostream& out, std::ostream& err) {
    if (std::string problem = CheckOutputPath(options.outPath, options.stubPath, options.files);
        !problem.empty()) {
        return Refuse(err, problem);
    }
    std::vector<InputFile> inputs;
    if (std::string problem = ExpandFolders(options.files, inputs); !problem.empty()) {
        return Refuse(err, problem);
    }
    if (inputs.empty()) {
        return Refuse(err, "no files given: the viewer refuses a book whose package is empty");
    }
    std::vector<PackagedFile> files;
    const LeadBytes leadBytes(options.codePage);
    if (std::string problem = CheckNames(inputs, options.codePage, files); !problem.empty()) {
        return Refuse(err, problem);
    }

    std::string error;
    std::optional<Bytes> book = ReadBytes(options.stubPath, error);
    if (!book) return Refuse(err, error);
    const RecordBlockSearch search = LocateRecordBlock(*book);
    if (!search.offset)
        return Refuse(err, options.stubPath + ": not a usable stub: " + search.problem);
    if (std::string problem = CheckStub(*book, *search.offset); !problem.empty()) {
        return Refuse(err, options.stubPath + ": " + problem);
    }

    Bytes package;
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::optional<Bytes> content = ReadBytes(inputs[i].path, error);
        if (!content) return Refuse(err, error);
        if (!inputs[i].folder.empty() && LocateRecordBlock(*content).offset) {
            return Refuse(err, inputs[i].path + ": a book or a stub, in the input folder " +
                                   inputs[i].folder + "; a book never packages another");
        }
        if (content->size() > std::numeric_limits<std::uint32_t>::max() - package.size()) {
            return Refuse(err, "the files do not fit in a book of at most 4 GiB");
        }
        files[i].size = static_cast<std::uint32_t>(content->size());
        package.insert(package.end(), content->begin(), content->end());
    }

    const auto packageOffset = static_cast<std::uint32_t>(book->size());
    std::uint8_t* record = book->data() + *search.offset;
    // A refusal from here on only discards the copy in memory.
    if (std::string problem = FillBrandingRecord(record, options.branding); !problem.empty()) {
        return Refuse(err, problem);
    }
    if (std::string problem =
            FillPackageDirectory(record + kPackageDirectoryOffset, files, packageOffset, leadBytes);
        !problem.empty()) {
        return Refuse(err, problem);
    }

    const std::uint32_t filesLength = static_cast<std::uint32_t>(package.size());
    const std::uint64_t bookSize =
        book->size() +
        std::uint64_t{PackageDirectory(record + kPackageDirectoryOffset).PackageSize()};
    const ReaderPlatform platform = PlatformOf(*book);
    if (std::string problem = CheckSignable(options.signing, platform); !problem.empty()) {
        return Refuse(err, problem);
    }
    const std::size_t findings = CheckPages(options, files, package, bookSize, platform, err);
    if (options.strict && findings > 0) {
        return Refuse(err, WithThousands(findings) + (findings == 1 ? " warning" : " warnings") +
                               " and --strict");
    }
    package.resize(PackageDirectory(record + kPackageDirectoryOffset).PackageSize());
    CBlowfishCipher cipher(BuildPackageKey().c_str());
    cipher.EncryptBuffer(package.data(), filesLength, package.data());

    std::error_code code;
    const fs::perms permissions = fs::status(options.stubPath, code).permissions();
    if (code) return Refuse(err, options.stubPath + ": " + code.message());
    if (!WriteBook(options.outPath, {&*book, &package}, permissions, options.signing, error)) {
        return Refuse(err, error);
    }
    if (!options.quiet) {
        std::vector<std::string> names;
        names.reserve(files.size());
        for (const PackagedFile& file : files) names.push_back(file.name);
        PrintSummary(out, options.outPath, bookSize, platform, names, leadBytes);
    }
    return kExitSuccess;
}

}  // namespace quillmere::builder
