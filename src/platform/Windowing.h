#pragma once

#include <memory>
#include <string>

namespace quillmere {

// Command ids the window sends to the view.
inline constexpr int kCommandPrint = 57607;    // ID_FILE_PRINT, the "Print Instructions" item
inline constexpr int kCommandBack = 32772;     // Alt+Left
inline constexpr int kCommandForward = 32773;  // Alt+Right
inline constexpr int kCommandHome = 32774;     // Alt+Home
// Ctrl+plus, Ctrl+minus and Ctrl+0, and Ctrl with the mouse wheel.
inline constexpr int kCommandZoomIn = 32775;
inline constexpr int kCommandZoomOut = 32776;
inline constexpr int kCommandZoomReset = 32777;

enum class ShowState { Normal = 1, Minimized = 2, Maximized = 3 };

// What the view hears from the browser control.
class ViewEvents {
  public:
    virtual ~ViewEvents() = default;
    // Every navigation a page asks for, before it happens, including those that would open a new
    // window (targetFrame "_blank"). Setting `cancel` stops it; otherwise it is browsed in the
    // one window.
    virtual void OnBeforeNavigate2(const std::string& url, const std::string& targetFrame,
                                   bool& cancel) = 0;
    virtual void OnCommand(int commandId) = 0;
    // A page asked for a download (a download link, a file the control cannot show) and it was
    // refused before anything was written. Reported at most once per page load.
    virtual void OnDownloadRefused() = 0;
};

// What the window is built from.
struct FrameDescription {
    std::string defaultCaption;  // shown until the caption is set
    std::string menuItemLabel;   // the one item, directly on the menu bar
    int menuItemCommand = 0;
};

// The frame window with its menu bar and the browser control filling the rest.
class MainWindow {
  public:
    virtual ~MainWindow() = default;
    virtual bool GetShowState(ShowState& state) = 0;
    virtual void SetShowState(ShowState state) = 0;
    virtual void Show() = 0;
    virtual void Update() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void BringToForeground() = 0;
    // A full local file path or an absolute URL.
    virtual void Navigate(const std::string& target) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    // Prints the current page with the print dialog and neither header nor footer.
    virtual void PrintCurrentPage() = 0;
    // Shows a page of the viewer's own, given as HTML text in the ANSI code page, in place of the
    // current one. No file holds it and its address names no path, and Back leads from it to
    // the page before.
    virtual void ShowOwnPage(const std::string& html) = 0;
    // Every page from now on is shown at this percentage of its normal size.
    virtual void SetZoom(int percent) = 0;
};

class Windowing {
  public:
    virtual ~Windowing() = default;
    // nullptr when the window cannot be created.
    virtual std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription& frame,
                                                         ViewEvents& events) = 0;
    // Runs until the reader closes the main window; the window is hidden by then.
    virtual void RunMessageLoop() = 0;
};

}  // namespace quillmere
