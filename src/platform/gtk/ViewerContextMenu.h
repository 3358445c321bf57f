#pragma once

#include <gio/gio.h>
#include <webkit2/webkit2.h>

#include <functional>
#include <string>

namespace quillmere {

// The web view's context menu, the viewer's own in place of WebKit's: Back, Forward, Copy, Select
// All and the print command. Nothing in it downloads, saves, opens a window or inspects. Back,
// Forward and printing are sent as the window's commands; Copy and Select All act on the page.
class ViewerContextMenu {
  public:
    using CommandSink = std::function<void(int command)>;

    // `printLabel` is UTF-8.
    ViewerContextMenu(WebKitWebView* view, const std::string& printLabel, int printCommand,
                      CommandSink send);
    ~ViewerContextMenu();
    ViewerContextMenu(const ViewerContextMenu&) = delete;
    ViewerContextMenu& operator=(const ViewerContextMenu&) = delete;

  private:
    enum Item { kBack, kForward, kCopy, kSelectAll, kPrint, kItemCount };

    static gboolean OnContextMenu(WebKitWebView* view, WebKitContextMenu* menu, GdkEvent* event,
                                  WebKitHitTestResult* hit, gpointer self);
    static void OnActivate(GSimpleAction* action, GVariant* parameter, gpointer self);
    void Run(Item item);

    WebKitWebView* view_;
    std::string printLabel_;
    int printCommand_;
    CommandSink send_;
    GSimpleAction* actions_[kItemCount] = {};
};

}  // namespace quillmere
