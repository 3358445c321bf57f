#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace quillmere {

// A page's alert, confirm and prompt boxes, shown as the viewer's own dialogs titled like the
// window: WebKit's own boxes are titled with the page's address, which would show the Workspace.
class ScriptDialogs {
  public:
    ScriptDialogs(WebKitWebView* view, GtkWindow* owner);
    ~ScriptDialogs();
    ScriptDialogs(const ScriptDialogs&) = delete;
    ScriptDialogs& operator=(const ScriptDialogs&) = delete;

  private:
    static gboolean OnScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog, gpointer self);
    void Show(WebKitScriptDialog* dialog);

    WebKitWebView* view_;
    GtkWindow* owner_;
};

}  // namespace quillmere
