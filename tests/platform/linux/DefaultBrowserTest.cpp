// Hand-offs through the GIO shell to a real default-handler lookup. GIO reads the desktop's
// handler files once per process, so every case runs in a child process with its own home, data
// and configuration folders set before GIO is first used.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "navigation/BrowserHandOff.h"
#include "platform/linux/GioShell.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
namespace fs = std::filesystem;

// Runs `work` in a child process and gives back the text it returned.
std::string RunInChild(const std::function<std::string()>& work) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const std::string text = work();
        const ssize_t written = write(pipeEnds[1], text.data(), text.size());
        _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    close(pipeEnds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, got);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) text += " (child failed)";
    return text;
}

// A desktop of its own: no handler but those the test registers.
class IsolatedDesktop {
  public:
    IsolatedDesktop() {
        for (const char* folder :
             {"home", "data/applications", "config", "sysdata", "sysconfig", "tmp"}) {
            fs::create_directories(dir.path() / folder);
        }
    }

    // A handler for web pages that records the path it was given and the page's content then.
    void RegisterRecordingBrowser() {
        const std::string script = dir.Write(
            "record.sh", "#!/bin/sh\ncat \"$1\" > '" + Seen() + ".part'\nprintf '%s' \"$1\" > '" +
                             Argument() + ".part'\nmv '" + Seen() + ".part' '" + Seen() +
                             "'\nmv '" + Argument() + ".part' '" + Argument() + "'\n");
        fs::permissions(script, fs::perms::owner_all);
        dir.Write("data/applications/qm-recorder.desktop",
                  "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + script +
                      " %f\nMimeType=text/html;\nNoDisplay=true\n");
        dir.Write("config/mimeapps.list",
                  "[Default Applications]\ntext/html=qm-recorder.desktop\n");
    }

    // In the child, before anything touches GIO.
    void Enter() const {
        setenv("HOME", dir.File("home").c_str(), 1);
        setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
        setenv("XDG_DATA_DIRS", dir.File("sysdata").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", dir.File("sysconfig").c_str(), 1);
        setenv("TMPDIR", TemporaryFolder().c_str(), 1);
        // No session bus: GIO must not try to find or start one.
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + dir.File("no-bus")).c_str(), 1);
    }

    // What the registered handler recorded, once it has run; empty if it never did.
    std::string WaitForHandlerArgument() const {
        for (int i = 0; i < 600 && !fs::exists(Argument()); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return fs::exists(Argument()) ? ReadFileBytes(Argument()) : "";
    }

    std::string TemporaryFolder() const { return dir.File("tmp") + "/"; }
    std::string Seen() const { return dir.File("seen"); }
    std::string Argument() const { return dir.File("argument"); }

  private:
    TempDir dir;
};

// One hand-off through the real backend, described as "result|path|message".
std::string HandOffInChild(const IsolatedDesktop& desktop, const std::string& url) {
    return RunInChild([&] {
        desktop.Enter();
        testing::FakeDialogs dialogs;
        testing::FakeLifetime lifetime;
        PosixFileSystem files;
        testing::MemoryRegistry registry;
        testing::FakeSystem system;
        testing::NoProcesses processes;
        GioShell shell;
        testing::FakeWindowing windowing;
        Platform platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};
        AppContext ctx{platform, TextRules{LeadBytes(), '/'}, "Test Book"};

        std::string redirectPagePath;
        const bool opened = HandOffToBrowser(ctx, url, redirectPagePath);
        std::string outcome = (opened ? "opened|" : "failed|") + redirectPagePath + "|";
        for (const auto& box : dialogs.shown) outcome += box.text;
        return outcome;
    });
}

TEST(DefaultBrowser, ReceivesTheRedirectPageWithTheAddressKeptInsideItsAttributes) {
    IsolatedDesktop desktop;
    desktop.RegisterRecordingBrowser();
    const std::string url = "http://example.com/go?to=\"><b onclick='x'>&n=1";
    const std::string page = desktop.TemporaryFolder() + kRedirectPageName;

    EXPECT_EQ(HandOffInChild(desktop, url), "opened|" + page + "|");

    EXPECT_EQ(desktop.WaitForHandlerArgument(), page);
    EXPECT_EQ(ReadFileBytes(desktop.Seen()), RedirectPageText(url));
    EXPECT_EQ(ReadFileBytes(page).find("<b "), std::string::npos);
}

TEST(DefaultBrowser, NoHandlerMeansTheAddressIsShownForTyping) {
    IsolatedDesktop desktop;
    const std::string url = "http://example.com/<page>";
    const std::string page = desktop.TemporaryFolder() + kRedirectPageName;

    EXPECT_EQ(HandOffInChild(desktop, url),
              "failed|" + page +
                  "|Unable to activate your Internet browser\n\nPlease activate your browser and "
                  "enter the address:\n\n" +
                  url);
    EXPECT_EQ(ReadFileBytes(page), RedirectPageText(url));
}

}  // namespace
}  // namespace quillmere
