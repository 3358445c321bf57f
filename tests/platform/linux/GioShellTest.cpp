#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "platform/linux/GioShell.h"
#include "support/TempDir.h"

namespace quillmere {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
namespace fs = std::filesystem;

// A private desktop: its own home, data and configuration folders, optionally a browser that
// registers for text/html and writes the arguments it was started with to a file.
class FakeDesktop {
  public:
    FakeDesktop() {
        for (const char* sub : {"home", "data/applications", "config", "sysdata", "sysconfig"}) {
            fs::create_directories(dir_.path() / sub);
        }
    }

    void InstallBrowser() { InstallProgram("fake-browser", "text/html", "%f"); }
    // A mail program, the desktop's handler for mailto: addresses.
    void InstallMailProgram() { InstallProgram("fake-mail", "x-scheme-handler/mailto", "%u"); }

    void InstallProgram(const std::string& name, const std::string& type,
                        const std::string& field) {
        const std::string script =
            dir_.Write(name,
                       "#!/bin/sh\n"
                       "printf '%s\\n' \"$#\" \"$@\" > '" +
                           RecordPart() + "'\nmv '" + RecordPart() + "' '" + Record() + "'\n");
        fs::permissions(script, fs::perms::owner_all);
        dir_.Write("data/applications/" + name + ".desktop",
                   "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + script + " " +
                       field + "\nMimeType=" + type + ";\n");
        dir_.Write("config/mimeapps.list",
                   "[Default Applications]\n" + type + "=" + name + ".desktop\n");
    }

    // The system's MIME database, without the system's applications.
    void ShareMimeDatabase() {
        if (fs::exists("/usr/share/mime"))
            fs::create_directory_symlink("/usr/share/mime", Sub("sysdata/mime"));
    }

    std::string Page(const std::string& name) const {
        fs::create_directories(dir_.path() / "my pages");
        return dir_.Write("my pages/" + name, "<html></html>");
    }

    std::string Record() const { return dir_.File("record"); }

    // GIO reads the desktop's files once per process, so each call runs in a child of its own
    // whose environment points only at this desktop, with no session bus and no display.
    std::optional<std::intptr_t> OpenInChild(const std::string& path) const {
        return RunInChild([&] { return GioShell().OpenWithDefaultProgram(path); });
    }
    std::optional<std::intptr_t> OpenAddressInChild(const std::string& address) const {
        return RunInChild(
            [&] { return std::intptr_t{GioShell().OpenAddressWithDefaultProgram(address)}; });
    }

    std::optional<std::intptr_t> RunInChild(const std::function<std::intptr_t()>& call) const {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return std::nullopt;
        const pid_t child = fork();
        if (child < 0) return std::nullopt;
        if (child == 0) {
            close(pipeFds[0]);
            setenv("HOME", Sub("home").c_str(), 1);
            setenv("XDG_DATA_HOME", Sub("data").c_str(), 1);
            setenv("XDG_CONFIG_HOME", Sub("config").c_str(), 1);
            setenv("XDG_DATA_DIRS", Sub("sysdata").c_str(), 1);
            setenv("XDG_CONFIG_DIRS", Sub("sysconfig").c_str(), 1);
            for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_RUNTIME_DIR",
                                     "DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"}) {
                unsetenv(name);
            }
            const std::intptr_t result = call();
            const bool sent = write(pipeFds[1], &result, sizeof result) == sizeof result;
            _exit(sent ? 0 : 1);
        }
        close(pipeFds[1]);
        std::intptr_t result = 0;
        const bool got = read(pipeFds[0], &result, sizeof result) == sizeof result;
        close(pipeFds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
        return result;
    }

    // The handler runs on its own; give it time to write its record.
    std::optional<std::string> AwaitRecord() const {
        for (int i = 0; i < 400; ++i) {
            if (fs::exists(Record())) return ReadFileBytes(Record());
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return std::nullopt;
    }

  private:
    std::string Sub(const char* name) const { return (dir_.path() / name).string(); }
    std::string RecordPart() const { return dir_.File("record.part"); }

    TempDir dir_;
};

TEST(GioShellTest, OpensPageWithTheRegisteredBrowser) {
    for (const bool mimeDatabase : {true, false}) {
        SCOPED_TRACE(mimeDatabase ? "with MIME database" : "without MIME database");
        FakeDesktop desktop;
        desktop.InstallBrowser();
        if (mimeDatabase) desktop.ShareMimeDatabase();
        const std::string page = desktop.Page("temp_webtool_help.html");

        const auto result = desktop.OpenInChild(page);
        ASSERT_TRUE(result.has_value());
        EXPECT_GT(*result, kShellSuccessAbove);
        // One argument, the path as it is, blank included.
        EXPECT_EQ(desktop.AwaitRecord(), "1\n" + page + "\n");
    }
}

TEST(GioShellTest, ReportsFailureWithoutHandlerOrFile) {
    FakeDesktop bare;
    bare.ShareMimeDatabase();
    const auto noHandler = bare.OpenInChild(bare.Page("temp_webtool_help.html"));
    ASSERT_TRUE(noHandler.has_value());
    EXPECT_LE(*noHandler, kShellSuccessAbove);

    FakeDesktop withBrowser;
    withBrowser.InstallBrowser();
    withBrowser.ShareMimeDatabase();
    const auto missing = withBrowser.OpenInChild(withBrowser.Record() + "-no-such-page.html");
    ASSERT_TRUE(missing.has_value());
    EXPECT_LE(*missing, kShellSuccessAbove);
}

TEST(GioShellTest, AddressGoesToTheProgramSetUpForItsSchemeOrIsRefused) {
    const std::string address = "mailto:help@example.org?subject=Seeds%20and%20bulbs";
    FakeDesktop desktop;
    desktop.InstallMailProgram();
    EXPECT_EQ(desktop.OpenAddressInChild(address), 1);
    EXPECT_EQ(desktop.AwaitRecord(), "1\n" + address + "\n");

    // No program for news: here, nor for anything on a bare desktop.
    EXPECT_EQ(desktop.OpenAddressInChild("news:comp.gardens"), 0);
    FakeDesktop bare;
    EXPECT_EQ(bare.OpenAddressInChild(address), 0);
    EXPECT_EQ(bare.OpenAddressInChild("no scheme at all"), 0);
}

}  // namespace
}  // namespace quillmere
