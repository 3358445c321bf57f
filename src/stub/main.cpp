// Until the viewer's start-up lands: shows what the stub's records hold.
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/AppContext.h"
#include "records/BrandingRecord.h"
#include "records/PackageDirectory.h"
#include "records/RecordLayout.h"
#include "records/StubRecords.h"

namespace quillmere {
namespace {

class ConsoleDialogs : public Dialogs {
  public:
    MessageBoxAnswer ShowMessageBox(std::string_view text, std::string_view caption,
                                    MessageBoxStyle) override {
        std::cerr << caption << ": " << text << '\n';
        return MessageBoxAnswer::Ok;
    }
};

class ExitLifetime : public Lifetime {
  public:
    [[noreturn]] void EndProcess(int exitCode) override { std::exit(exitCode); }
};

// Nothing below is reached while the stub only reports its records.
class NoFiles : public FileSystem {
  public:
    std::unique_ptr<InputFile> OpenForReading(const std::string&) override { return nullptr; }
    std::unique_ptr<OutputFile> CreateForWriting(const std::string&, FileKind) override {
        return nullptr;
    }
    bool Exists(const std::string&) override { return false; }
    bool RemoveFile(const std::string&) override { return false; }
    CreateDirectoryResult CreateDirectory(const std::string&) override {
        return CreateDirectoryResult::Failed;
    }
    bool RemoveDirectory(const std::string&) override { return false; }
    std::optional<std::string> TemporaryDirectory() override { return std::nullopt; }
};

class NoRegistry : public Registry {
  public:
    std::unique_ptr<RegistryKey> OpenKeyForQuery(std::string_view) override { return nullptr; }
    bool WriteDword(std::string_view, std::string_view, std::uint32_t) override { return false; }
};

class PlainSystem : public System {
  public:
    PathConventions Conventions() override { return {'/', false, true}; }
    std::optional<std::string> ModuleFilePath() override { return std::nullopt; }
    unsigned AnsiCodePage() override { return 65001; }
    std::int64_t CurrentTime() override { return 0; }
};

class NoProcesses : public Processes {
  public:
    ProcessHandle Start(const std::string&, const std::vector<std::string>&) override {
        return kFailedProcess;
    }
    int Wait(ProcessHandle) override { return -1; }
    void Close(ProcessHandle) override {}
};

class NoShell : public Shell {
  public:
    std::intptr_t OpenWithDefaultProgram(const std::string&) override { return 0; }
};

class NoWindowing : public Windowing {
  public:
    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription&, ViewEvents&) override {
        return nullptr;
    }
    void RunMessageLoop() override {}
};

void PrintRecords(AppContext& ctx) {
    const std::uint8_t* block = StubRecordBlock();
    BrandingValues branding;
    LoadBrandingSettings(block, branding, ctx);
    std::cout << "reseller id: " << branding.ResellerId << '\n'
              << "update code seed: " << branding.UpdateCodeSeed << '\n'
              << "hide bonus sections: " << branding.HideBonusSections << '\n'
              << "reseller name: " << branding.ResellerName << '\n'
              << "reseller site: " << branding.ResellerSite << '\n'
              << "reseller url: " << branding.ResellerUrl << '\n'
              << "title: " << branding.EbookTitle << '\n'
              << "description: " << branding.EbookDescription << '\n';

    const PackageDirectory directory(block + kPackageDirectoryOffset);
    std::cout << "merged: " << (directory.IsMerged() ? "yes" : "no") << '\n';
    if (!directory.IsMerged()) return;
    std::cout << "files: " << directory.FileCount() << '\n'
              << "package: offset " << directory.PackageOffset() << ", size "
              << directory.PackageSize() << '\n';
    for (std::uint32_t i = 0; i < directory.FileCount() && i < 100; ++i) {
        const PackageEntry entry = directory.Entry(i);
        std::cout << "  " << entry.Name << " offset " << entry.Offset << " size " << entry.Size
                  << '\n';
    }
}

}  // namespace
}  // namespace quillmere

int main() {
    using namespace quillmere;
    ConsoleDialogs dialogs;
    ExitLifetime lifetime;
    NoFiles files;
    NoRegistry registry;
    PlainSystem system;
    NoProcesses processes;
    NoShell shell;
    NoWindowing windowing;
    Platform platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};
    AppContext ctx{platform, {}};
    PrintRecords(ctx);
    return 0;
}
