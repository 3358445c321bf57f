#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace quillmere::testing {

struct ShownMessageBox {
    std::string text;
    std::string caption;
    MessageBoxStyle style;
};

// Records every box; answers from a queue (Ok or No when it is empty).
class FakeDialogs : public Dialogs {
  public:
    MessageBoxAnswer ShowMessageBox(std::string_view text, std::string_view caption,
                                    MessageBoxStyle style) override;
    std::vector<ShownMessageBox> shown;
    std::deque<MessageBoxAnswer> answers;
    // Runs while each box is open, before it is answered.
    std::function<void()> whileShown;
};

// Thrown instead of ending the test runner.
struct ProcessEnded : std::runtime_error {
    explicit ProcessEnded(int code) : std::runtime_error("process ended"), exitCode(code) {}
    int exitCode;
};

class FakeLifetime : public Lifetime {
  public:
    [[noreturn]] void EndProcess(int exitCode) override;
    void SetStopHandler(std::function<void()> onStop) override { stopHandler = std::move(onStop); }
    // What a stop signal would do: the handler, which must end the process.
    [[noreturn]] void Stop();

    std::optional<int> endedWith;
    std::function<void()> stopHandler;
};

class FakeSystem : public System {
  public:
    PathConventions Conventions() override { return conventions; }
    std::optional<std::string> ModuleFilePath() override { return modulePath; }
    unsigned AnsiCodePage() override { return codePage; }
    std::int64_t CurrentTime() override { return now; }

    PathConventions conventions{'/', false, true};
    std::optional<std::string> modulePath;
    unsigned codePage = 65001;
    std::int64_t now = 1700000000;
};

// Registry values in memory. Names compare without regard to letter case.
class MemoryRegistry : public Registry {
  public:
    std::unique_ptr<RegistryKey> OpenKeyForQuery(std::string_view subkey) override;
    bool WriteDword(std::string_view subkey, std::string_view name, std::uint32_t value) override;

    void Set(std::string_view subkey, std::string_view name, RegistryValueType type,
             std::vector<std::uint8_t> data);
    void SetString(std::string_view subkey, std::string_view name, std::string_view text);
    void SetDword(std::string_view subkey, std::string_view name, std::uint32_t value);

    struct Value {
        RegistryValueType type = RegistryValueType::None;
        std::vector<std::uint8_t> data;
    };
    // key (lower case) -> value name (lower case) -> value
    std::map<std::string, std::map<std::string, Value>> keys;
    bool failWrites = false;
};

struct ShellCall {
    std::string path;
};

class FakeShell : public Shell {
  public:
    std::intptr_t OpenWithDefaultProgram(const std::string& path) override {
        calls.push_back({path});
        return result;
    }
    bool OpenAddressWithDefaultProgram(const std::string& address) override {
        addresses.push_back(address);
        return addressHandled;
    }
    std::vector<ShellCall> calls;
    std::intptr_t result = 42;
    // Addresses handed to their scheme's program, and whether one is set up.
    std::vector<std::string> addresses;
    bool addressHandled = true;
};

// Starts nothing: every start fails, and there is never anything to wait for.
class NoProcesses : public Processes {
  public:
    ProcessHandle Start(const std::string&, const std::vector<std::string>&) override {
        return kFailedProcess;
    }
    int Wait(ProcessHandle) override { return -1; }
    void Close(ProcessHandle) override {}
};

// Records what start-up and the view do to the window.
class FakeMainWindow;
class FakeWindowing : public Windowing {
  public:
    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription& frame,
                                                 ViewEvents& events) override;
    void RunMessageLoop() override { ++loopsRun; }

    bool failCreate = false;
    int loopsRun = 0;
    ShowState initialShowState = ShowState::Normal;

    // What happened to the window, in order ("show", "caption:T", "navigate:P", ...).
    std::vector<std::string> log;
    ViewEvents* events = nullptr;
    bool windowAlive = false;
    // The texts of the viewer's own pages it was asked to show.
    std::vector<std::string> ownPages;
    FrameDescription frame;
};

// The message loop is where the window is open: `whileOpen` runs there.
class LoopWindowing : public FakeWindowing {
  public:
    void RunMessageLoop() override {
        FakeWindowing::RunMessageLoop();
        if (whileOpen) whileOpen();
    }
    std::function<void()> whileOpen;
};

}  // namespace quillmere::testing
