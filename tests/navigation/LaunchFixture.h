#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "navigation/ProgramLaunch.h"
#include "platform/AppContext.h"
#include "records/RecordLayout.h"
#include "support/FakePlatform.h"
#include "support/NativeBackend.h"
#include "support/TempDir.h"

namespace quillmere::testing {

// A package directory record and the SelfImage it points into, built in memory.
class TestPackage {
  public:
    TestPackage();
    // Appends `content` to the image and an entry for it to the record.
    void Add(const std::string& name, const std::string& content);
    // An entry with any range at all, for entries a builder would never write.
    void AddRaw(const std::string& name, std::uint32_t offset, std::uint32_t size);
    void SetFileCount(std::uint32_t count);

    const std::uint8_t* record() const { return record_.data(); }
    // The image is followed by four zero bytes that are not part of its size.
    const std::uint8_t* image() const { return image_.data(); }
    std::uint32_t imageSize() const { return static_cast<std::uint32_t>(image_.size() - 4); }

  private:
    std::vector<std::uint8_t> record_;
    std::vector<std::uint8_t> image_;
    std::uint32_t count_ = 0;
};

// Real processes, with every start remembered.
class RecordingProcesses : public Processes {
  public:
    struct StartCall {
        std::string path;
        std::vector<std::string> arguments;
    };
    ProcessHandle Start(const std::string& path,
                        const std::vector<std::string>& arguments) override {
        starts.push_back({path, arguments});
        return real.Start(path, arguments);
    }
    int Wait(ProcessHandle process) override { return real.Wait(process); }
    void Close(ProcessHandle process) override { real.Close(process); }

    NativeProcesses real;
    std::vector<StartCall> starts;
};

// A platform with real files and processes and recorded message boxes.
struct LaunchPlatform {
    FakeDialogs dialogs;
    FakeLifetime lifetime;
    NativeFileSystem files;
    MemoryRegistry registry;
    FakeSystem system;
    RecordingProcesses processes;
    FakeShell shell;
    FakeWindowing windowing;
    Platform platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};
    AppContext ctx{platform, TextRules{LeadBytes(), kNativeSeparator}, "Test Book"};
};

}  // namespace quillmere::testing
