// A whole book file as a stranger could make it: the record block at its start (branding record,
// package directory), then anything. The harness enciphers the package range the directory names,
// so a seed holds its pages in plain text, and it stores the record's checksum unless the first
// byte is odd, so most inputs get past the branding check. The viewer then runs its whole life
// on files in memory; while its window is open, every packaged program is started once.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "WorkspaceFiles.h"
#include "app/ApplicationFramework.h"
#include "app/QuillmereApp.h"
#include "package/BlowfishCipher.h"
#include "package/PackageKey.h"
#include "package/PathHelpers.h"
#include "pages/AdvertStore.h"
#include "records/LittleEndian.h"
#include "records/RecordFields.h"
#include "records/RecordLayout.h"
#include "records/RecordWriter.h"
#include "support/FakePlatform.h"
#include "support/RecordsTestContext.h"

namespace {

using namespace quillmere;

constexpr const char* kTemporary = "/tmp/";
constexpr const char* kBookPath = "/books/book";

void EncipherPackage(std::vector<std::uint8_t>& image) {
    const std::uint8_t* directory = image.data() + kPackageDirectoryOffset;
    const std::uint64_t offset = ReadLe32(directory + kPackageOffsetOffset);
    const std::uint64_t size = ReadLe32(directory + kPackageSizeOffset) & ~std::uint32_t{7};
    if (offset + size > image.size()) return;
    CBlowfishCipher cipher(BuildPackageKey().c_str());
    cipher.EncryptBuffer(image.data() + offset, static_cast<std::uint32_t>(size),
                         image.data() + offset);
}

// Inside means directly in the Workspace, under a name of its own.
bool InsideWorkspace(const std::string& path, const std::string& workspace) {
    if (workspace.empty() || !path.starts_with(workspace)) return false;
    const std::string name = path.substr(workspace.size());
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

void StartEveryProgram(CQuillmereApp& app) {
    const PackageDirectory& directory = app.Directory();
    const std::uint32_t count = std::min<std::uint32_t>(directory.FileCount(), kMaxEntries);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string name = directory.Entry(i).Name;
        if (GetExtensionPart(name, app.Context.rules) == ".exe") {
            app.LaunchPackagedProgram(name, "");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> image(data, data + size);
    if (image.size() < kStubRecordBlockSize) image.resize(kStubRecordBlockSize);
    if ((image[0] & 1) == 0) StoreRecordChecksum(image.data());
    EncipherPackage(image);

    fuzzing::WorkspaceFiles files(kTemporary);
    files.files[kBookPath].bytes.assign(image.begin(), image.end());
    testing::FakeDialogs dialogs;
    dialogs.answers.push_back(MessageBoxAnswer::Yes);  // the terms, when they are asked
    testing::FakeLifetime lifetime;
    testing::MemoryRegistry registry;
    testing::FakeSystem system;
    system.modulePath = kBookPath;
    testing::NoProcesses processes;
    testing::FakeShell shell;
    testing::LoopWindowing windowing;
    Platform platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};

    int exitCode = 0;
    std::string workspace;
    {
        CQuillmereApp app(platform, image.data());
        windowing.whileOpen = [&] {
            // A program that cannot be started says so; that is no start-up failure.
            const std::size_t before = dialogs.shown.size();
            StartEveryProgram(app);
            dialogs.shown.resize(before);
        };
        try {
            exitCode = RunApplication(app);
        } catch (const testing::ProcessEnded& ended) {
            exitCode = ended.exitCode;
        }
        workspace = app.Workspace;
        if (exitCode == 0) FUZZ_CHECK(InsideWorkspace(app.StartPage, workspace));
    }

    for (const std::string& path : files.written) FUZZ_CHECK(InsideWorkspace(path, workspace));

    int reports = 0;
    for (const auto& box : dialogs.shown) reports += box.style.buttons == MessageBoxButtons::Ok;
    // A failed start says why; a good one says nothing.
    FUZZ_CHECK((exitCode == 0) == (reports == 0));

    // Whatever was extracted is gone again, and so is the Workspace.
    files.files.erase(kBookPath);
    FUZZ_CHECK(files.files.empty());
    FUZZ_CHECK(files.folders.empty());
    return 0;
}
