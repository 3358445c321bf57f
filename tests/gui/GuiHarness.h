#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Windowing.h"
#include "platform/gtk/GtkMainWindow.h"
#include "platform/gtk/GtkPlatform.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace quillmere::testing {

using namespace std::chrono_literals;

// Runs the GTK main loop until `done` holds or `limit` has passed; gives done(). The limit only
// keeps a broken test from hanging.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 30s);
// Runs the main loop for a while, so that whatever was going to happen has happened.
void PumpFor(std::chrono::milliseconds duration);

// The GTK services, started once per test program; nullptr without a display.
GtkServices* SharedServices();

// A view that records what the window tells it and cancels the navigations it is told to.
class RecordingEvents : public ViewEvents {
  public:
    struct Navigation {
        std::string url;
        std::string targetFrame;
        bool operator==(const Navigation&) const = default;
        friend void PrintTo(const Navigation& n, std::ostream* os) {
            *os << "{\"" << n.url << "\", \"" << n.targetFrame << "\"}";
        }
    };

    void OnBeforeNavigate2(const std::string& url, const std::string& targetFrame,
                           bool& cancel) override;
    void OnCommand(int commandId) override { commands.push_back(commandId); }
    void OnDownloadRefused() override { ++downloadsRefused; }

    // How many times `url` was reported.
    int Count(const std::string& url) const;
    bool Saw(const std::string& url) const { return Count(url) > 0; }

    std::function<bool(const std::string& url)> cancelIf = [](const std::string&) { return false; };
    std::vector<Navigation> navigations;
    std::vector<int> commands;
    int downloadsRefused = 0;
};

// Runs `script` in the page and gives its result as text ("" when it fails).
std::string RunScript(WebKitWebView* view, const std::string& script);

// The file URI of a local path.
std::string FileUri(const std::string& path);

// Runs a command line to its end; gives its standard output, or nullopt when it fails.
std::optional<std::string> RunTool(const std::vector<std::string>& argv);

// The X window id of a realised GTK window, as xdotool wants it.
std::string WindowId(GtkWindow* window);

// True once the window is on the X server's screen (not only asked to be shown).
bool IsOnScreen(GtkWindow* window);

// Where a widget's centre is on the screen.
void ScreenCentre(GtkWidget* widget, int& x, int& y);

// Saves a picture of the whole screen as <name>.png when QUILLMERE_SCREENSHOT_DIR names a folder.
void MaybeScreenshot(const std::string& name);

using WindowAction = std::function<void(GtkWindow*)>;

// Answers the next dialog of the GTK type `typeName` as a reader would, once it is on the screen:
// `look` at it, take a screenshot called `name` when asked for, then `answer`. A dialog that is
// never answered is closed after a minute, so that no test hangs.
class ScriptedReader {
  public:
    ScriptedReader(std::string typeName, std::string name, WindowAction look, WindowAction answer);
    ~ScriptedReader();
    ScriptedReader(const ScriptedReader&) = delete;
    ScriptedReader& operator=(const ScriptedReader&) = delete;

    bool found() const { return found_; }

  private:
    static gboolean Poll(gpointer self);
    static gboolean GiveUp(gpointer self);
    GtkWindow* Shown() const;

    std::string typeName_;
    std::string name_;
    WindowAction look_;
    WindowAction answer_;
    bool found_ = false;
    guint poll_ = 0;
    guint giveUp_ = 0;
};

// Answers for a scripted reader.
WindowAction PressKey(const std::string& key);
WindowAction ClickButton(int response);
void CloseDialog(GtkWindow* dialog);

// A shown main window on a recording view, and a folder for its pages.
class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // Loads a page and waits until it shows `title`.
    bool Open(const std::string& target, const std::string& title);
    std::string Title() const;
    std::string Uri() const;

    TempDir dir;
    RecordingEvents events;
    std::unique_ptr<MainWindow> window;
    GtkMainWindow* gtk = nullptr;

  private:
    bool mapped_ = false;
};

}  // namespace quillmere::testing
