#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <memory>
#include <vector>

#include "platform/Windowing.h"
#include "platform/gtk/DownloadRefusal.h"
#include "platform/gtk/FindBar.h"
#include "platform/gtk/GtkShared.h"
#include "platform/gtk/NavigationReporter.h"
#include "platform/gtk/ScriptDialogs.h"
#include "platform/gtk/ViewerContextMenu.h"

namespace quillmere {

// When set to a file path, every finished page load appends "load-finished <monotonic ns>" to it.
inline constexpr const char* kLoadTimesVariable = "QUILLMERE_LOAD_TIMES";

// The frame: a window with a menu bar holding one command item, and a web view filling the rest.
// Closing the window hides it and ends the message loop; destroying this object destroys the
// widgets. Keys and mouse buttons the reader knows from browsers are sent as the view's commands:
// Alt+Left/Right/Home, mouse buttons 8 and 9, Ctrl+P, and Ctrl+plus/minus/0 and Ctrl+wheel for
// the zoom. Ctrl+F opens the find bar below the page, F3 and Shift+F3 go to the next and previous
// match.
class GtkMainWindow : public MainWindow {
  public:
    GtkMainWindow(const FrameDescription& frame, ViewEvents& events,
                  std::shared_ptr<GtkShared> shared);
    ~GtkMainWindow() override;
    GtkMainWindow(const GtkMainWindow&) = delete;
    GtkMainWindow& operator=(const GtkMainWindow&) = delete;

    bool GetShowState(ShowState& state) override;
    void SetShowState(ShowState state) override;
    void Show() override;
    void Update() override;
    void SetCaption(const std::string& caption) override;
    void BringToForeground() override;
    void Navigate(const std::string& target) override;
    void GoBack() override;
    void GoForward() override;
    void PrintCurrentPage() override;
    void ShowOwnPage(const std::string& html) override;
    void SetZoom(int percent) override;

    // The widgets, for tests that drive the window as a reader would.
    GtkWindow* Window() const { return window_; }
    GtkWidget* MenuBar() const { return menuBar_; }
    GtkWidget* MenuItem() const { return menuItem_; }
    WebKitWebView* WebView() const { return view_; }
    FindBar& Find() const { return *findBar_; }

  private:
    static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gboolean OnMenuBarRelease(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static void OnMenuItemActivate(GtkMenuItem* item, gpointer self);
    static gboolean OnWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer self);
    static gboolean OnViewButton(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean OnViewScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
    static gboolean LoadOwnPage(gpointer self);
    // The command a key with Ctrl stands for; 0 for none.
    static int ControlKeyCommand(guint keyval);

    void SendCommand(int command);
    void ReportDownloadRefused();
    void Maximize();
    // Without a window manager nobody maximises the window; it then covers the work area itself.
    void CoverWorkArea();

    ViewEvents& events_;
    std::shared_ptr<GtkShared> shared_;
    int menuCommand_;
    GtkWindow* window_ = nullptr;
    GtkWidget* menuBar_ = nullptr;
    GtkWidget* menuItem_ = nullptr;
    WebKitWebView* view_ = nullptr;
    std::unique_ptr<NavigationReporter> navigation_;
    std::unique_ptr<ViewerContextMenu> contextMenu_;
    std::unique_ptr<DownloadRefusal> downloads_;
    std::unique_ptr<ScriptDialogs> scriptDialogs_;
    std::unique_ptr<FindBar> findBar_;
    // The viewer's own page waits for the navigation being decided to end first.
    std::string ownPage_;
    guint ownPageLoad_ = 0;
    ShowState requested_ = ShowState::Normal;
    GdkWindowState observed_ = GdkWindowState(0);
    bool coversWorkArea_ = false;
};

}  // namespace quillmere
