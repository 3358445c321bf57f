#include "navigation/ProgramLaunch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "package/FileHelpers.h"
#include "package/MultibyteText.h"
#include "package/PathHelpers.h"
#include "package/PlainFileName.h"
#include "platform/HeapBuffer.h"

namespace quillmere {

namespace {

// The directory record has room for this many entries; a larger count is never believed.
constexpr std::uint32_t kDirectoryCapacity = 100;

void ShowStopBox(AppContext& ctx, const char* text) {
    ctx.platform.dialogs.ShowMessageBox(text, ctx.appName, kStopBox);
}

// An entry is only used when it names a file directly inside the Workspace and its bytes lie
// wholly inside the SelfImage.
bool IsUsableEntry(const PackageEntry& entry, const LaunchContext& launch) {
    const std::uint64_t end = std::uint64_t{entry.Offset} + entry.Size;
    return IsPlainFileName(entry.Name, launch.ctx.rules.leadBytes) && end <= launch.selfImageSize;
}

std::optional<PackageEntry> FindProgramEntry(const LaunchContext& launch, const std::string& name) {
    const std::uint32_t count = std::min(launch.directory.FileCount(), kDirectoryCapacity);
    for (std::uint32_t i = 0; i < count; ++i) {
        PackageEntry entry = launch.directory.Entry(i);
        if (!EqualsIgnoringCase(entry.Name, name, launch.ctx.rules.leadBytes)) continue;
        if (IsUsableEntry(entry, launch)) return entry;
    }
    return std::nullopt;
}

ProcessHandle StartProgram(LaunchContext& launch, const std::string& path,
                           const std::vector<std::string>& arguments) {
    const ProcessHandle handle = launch.ctx.platform.processes.Start(path, arguments);
    AddStartedProgram(launch.started, handle);  // failures too: they are skipped at exit
    return handle;
}

}  // namespace

void LaunchPackagedProgram(LaunchContext& launch, const std::string& name,
                           const std::string& argument) {
    AppContext& ctx = launch.ctx;
    const std::optional<PackageEntry> entry = FindProgramEntry(launch, name);
    if (!entry) {
        ShowStopBox(ctx, "Required exe file not found");
        return;
    }

    // Written under the entry's own name, whatever the link's letter case.
    const std::string target = launch.workspace + entry->Name;

    // calloc(0) may legitimately give null; an empty program still gets an (empty) buffer.
    HeapBuffer bytes(
        static_cast<std::uint8_t*>(std::calloc(std::max<std::size_t>(entry->Size, 1), 1)));
    if (!bytes) {
        ShowStopBox(ctx, "Insufficient memory");
        return;
    }
    if (entry->Size > 0) std::memcpy(bytes.get(), launch.selfImage + entry->Offset, entry->Size);

    // A file already there (an earlier launch wrote it) is started as it is. A failed write has
    // been shown by the writer; the start is attempted all the same.
    if (!ctx.platform.files.Exists(target)) {
        WriteWholeFile(ctx, target, bytes.get(), entry->Size, FileKind::Program);
    }

    std::vector<std::string> arguments{GetFileNamePart(target, ctx.rules)};
    if (!argument.empty()) arguments.push_back(argument);  // one argument, blanks and all
    StartProgram(launch, target, arguments);
}

void StartLinkedProgram(LaunchContext& launch, const std::string& url) {
    StartProgram(launch, url, {url});
}

}  // namespace quillmere
