#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/Windowing.h"

namespace quillmere {

// Reports every navigation a page asks of the web view to ViewEvents before it happens, and
// carries out the answer. Three roads lead to a new address: an ordinary navigation, a request for
// a new window (target=_blank links and forms), and window.open. There is only one window, so a
// new-window request that is let through is browsed in the same view.
class NavigationReporter {
  public:
    NavigationReporter(WebKitWebView* view, ViewEvents& events);
    ~NavigationReporter();
    NavigationReporter(const NavigationReporter&) = delete;
    NavigationReporter& operator=(const NavigationReporter&) = delete;

    // Gives the view an empty page of its own so that its web process starts now, while the book
    // is still being prepared, rather than at the first navigation. The load is never reported and
    // never lands: the view stays empty and its history starts with the book's first page.
    void StartWebProcess();

  private:
    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);

    void DecideNavigation(WebKitNavigationPolicyDecision* decision);
    void DecideNewWindow(WebKitNavigationPolicyDecision* decision);
    // True when the navigation may go ahead.
    bool Report(const std::string& url, const std::string& targetFrame);
    void BrowseHere(WebKitURIRequest* request);

    WebKitWebView* view_;
    ViewEvents& events_;
    // A new-window request let through comes back as an ordinary navigation of this view; it has
    // been reported already.
    std::string browsingHere_;
    // The backend's own empty page is asked for before anything else; its decision is the first.
    bool ownLoadPending_ = false;
};

}  // namespace quillmere
