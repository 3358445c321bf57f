#include "BuildCommand.h"

#include <filesystem>
#include <limits>
#include <set>
#include <system_error>

#include "BookFiles.h"
#include "DoubleBytePages.h"
#include "FolderContents.h"
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

bool IsSameFile(const fs::path& a, const fs::path& b) {
    std::error_code code;
    if (fs::equivalent(a, b, code)) return true;
    const fs::path realA = fs::weakly_canonical(a, code);
    if (code) return false;
    const fs::path realB = fs::weakly_canonical(b, code);
    return !code && realA == realB;
}

// The packaged names, checked before any file is read, as the readers' code page reads them.
// Code page 0 has no lead bytes, so every byte is a character of its own: the strictest reading,
// as lead bytes only make more names plain and fold fewer bytes. What passes it passes in every
// code page.
std::string CheckNames(const std::vector<std::string>& paths, unsigned codePage,
                       std::vector<PackagedFile>& files) {
    const LeadBytes leadBytes(codePage);
    if (paths.size() > kMaxEntries) {
        return std::to_string(paths.size()) + " files given; a book holds at most " +
               std::to_string(kMaxEntries);
    }
    std::set<std::string> seen;
    for (const auto& path : paths) {
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
        if (!seen.insert(LowerAnsi(file.name, leadBytes)).second) {
            return path + ": another file is already packaged as \"" + file.name + "\"";
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

}  // namespace

int RunBuild(const BuildOptions& options, std::ostream& err) {
    std::vector<std::string> paths;
    if (std::string problem = ExpandFolders(options.files, paths); !problem.empty()) {
        return Refuse(err, problem);
    }
    std::vector<PackagedFile> files;
    const LeadBytes leadBytes(options.codePage);
    if (std::string problem = CheckNames(paths, options.codePage, files); !problem.empty()) {
        return Refuse(err, problem);
    }
    if (IsSameFile(options.stubPath, options.outPath)) {
        return Refuse(err, "the output " + options.outPath + " is the stub itself");
    }
    std::error_code code;
    if (fs::is_directory(options.outPath, code)) {
        return Refuse(err, "the output " + options.outPath + " is a folder");
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
        std::optional<Bytes> content = ReadBytes(paths[i], error);
        if (!content) return Refuse(err, error);
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
    package.resize(PackageDirectory(record + kPackageDirectoryOffset).PackageSize());
    CBlowfishCipher cipher(BuildPackageKey().c_str());
    cipher.EncryptBuffer(package.data(), filesLength, package.data());

    const fs::perms permissions = fs::status(options.stubPath, code).permissions();
    if (code) return Refuse(err, options.stubPath + ": " + code.message());
    if (!WriteFileWhole(options.outPath, {&*book, &package}, permissions, error)) {
        return Refuse(err, error);
    }
    if (files.empty()) {
        err << "quillmere-build: warning: the book holds no files; the viewer will say its "
               "package is empty\n";
    }
    return kExitSuccess;
}

}  // namespace quillmere::builder
