#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/QuillmereApp.h"
#include "records/BrandingSettings.h"
#include "records/RecordLayout.h"
#include "support/FakePlatform.h"
#include "support/NativeBackend.h"
#include "support/TempDir.h"
#include "support/TestFileSystem.h"

namespace quillmere::testing {

// A book on disk and a copy of its record block, which a test may alter before running it (the
// viewer reads its records from memory, not from the file).
struct BookFile {
    std::string path;
    std::vector<std::uint8_t> block;

    std::uint8_t* Directory() { return block.data() + kPackageDirectoryOffset; }
    void SetFileCount(std::uint32_t count);
    void SetPackage(std::uint32_t offset, std::uint32_t size);
    void SetEntry(std::uint32_t i, std::uint32_t offset, std::uint32_t size);
    void SetEntryName(std::uint32_t i, const std::string& name);
};

// Reads `path` and finds its record block; throws when there is none.
BookFile LoadBookFile(const std::string& path);

using PackagedFiles = std::vector<std::pair<std::string, std::string>>;

// A book made without the builder, so that it may hold what the builder refuses (duplicate or
// unsafe names): the stub's bytes, then the enciphered files back to back. The branding record
// is merged with `branding` when given, else left with the stub's defaults (title "Ebook").
BookFile WriteRawBook(const std::string& path, const PackagedFiles& files,
                      const std::optional<BrandingValues>& branding = std::nullopt);

struct RunResult {
    int exitCode = 0;
    // True when the process was ended through Lifetime rather than by returning from the run.
    bool endedProcess = false;
    // True when the application still held a view once the run was over.
    bool viewOutlivedRun = false;
};

// Runs books in-process on the real file system and a registry of its own (a .reg file where the
// platform has one), each under a private temporary folder, with fake windows and message boxes.
class AppHarness {
  public:
    AppHarness();

    // Runs the whole life of the viewer on `book`. `whileOpen` runs while the window is open.
    RunResult Run(const BookFile& book,
                  const std::function<void(CQuillmereApp&)>& whileOpen = nullptr);

    // Stores the terms as accepted for `title`, as an earlier run would have.
    void AcceptTerms(const std::string& title, std::uint32_t value = 1);
    // Stores a value in the registry as another program would, not through the seam.
    void SeedRegistry(std::string_view subkey, std::string_view name, RegistryValueType type,
                      std::string_view bytes);
    void SeedString(std::string_view subkey, std::string_view name, std::string_view text);
    void SeedDword(std::string_view subkey, std::string_view name, std::uint32_t value);
    std::vector<std::string> Messages() const;
    // Names in the temporary folder, sorted.
    std::vector<std::string> TempEntries() const;
    std::string WorkspaceFor(std::int64_t time, const std::string& suffix = "") const;

    TempDir root;
    std::string tmp;  // the viewer's temporary folder, with a trailing separator
    std::string registryPath;

    TestFileSystem files;
    HarnessRegistry registry;
    FakeSystem system;
    FakeDialogs dialogs;
    FakeLifetime lifetime;
    NativeProcesses processes;
    FakeShell shell;
    LoopWindowing windowing;
    Platform platform;
};

}  // namespace quillmere::testing
