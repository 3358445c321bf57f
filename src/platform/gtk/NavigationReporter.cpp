#include "platform/gtk/NavigationReporter.h"

#include <exception>

namespace quillmere {

namespace {

std::string Text(const char* text) { return text ? text : ""; }

std::string UriOf(WebKitNavigationAction* action) {
    return Text(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
}

// A new window named by the page keeps its name; an unnamed one is "_blank".
std::string NewWindowTarget(WebKitNavigationAction* action) {
    std::string name = Text(webkit_navigation_action_get_frame_name(action));
    return name.empty() ? "_blank" : name;
}

// An empty new window (window.open() with no address) is no page to browse; loading it would only
// blank the book.
bool IsEmptyPage(const std::string& uri) { return uri.empty() || uri == "about:blank"; }

constexpr const char* kOwnPageAddress = "about:blank";

}  // namespace

NavigationReporter::NavigationReporter(WebKitWebView* view, ViewEvents& events)
    : view_(view), events_(events) {
    g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(view_, "create", G_CALLBACK(OnCreate), this);
}

NavigationReporter::~NavigationReporter() { g_signal_handlers_disconnect_by_data(view_, this); }

void NavigationReporter::StartWebProcess() {
    ownLoadPending_ = true;
    webkit_web_view_load_html(view_, "", kOwnPageAddress);
}

gboolean NavigationReporter::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                            WebKitPolicyDecisionType type, gpointer self) {
    auto* reporter = static_cast<NavigationReporter*>(self);
    switch (type) {
        case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION:
            reporter->DecideNavigation(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
            return TRUE;
        case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION:
            reporter->DecideNewWindow(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
            return TRUE;
        default:
            // Responses are not navigations; WebKit decides what it can show.
            return FALSE;
    }
}

GtkWidget* NavigationReporter::OnCreate(WebKitWebView*, WebKitNavigationAction* action,
                                        gpointer self) {
    auto* reporter = static_cast<NavigationReporter*>(self);
    const std::string uri = UriOf(action);
    if (reporter->Report(uri, NewWindowTarget(action)) && !IsEmptyPage(uri)) {
        reporter->BrowseHere(webkit_navigation_action_get_request(action));
    }
    // No second window, ever.
    return nullptr;
}

void NavigationReporter::DecideNavigation(WebKitNavigationPolicyDecision* decision) {
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(decision);
    const std::string uri = UriOf(action);
    // Ignored, the empty page leaves neither a page nor a history entry; the process stays.
    const bool ownLoad = ownLoadPending_ && uri == kOwnPageAddress;
    ownLoadPending_ = false;
    if (ownLoad) {
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
        return;
    }
    const std::string frame = Text(webkit_navigation_action_get_frame_name(action));
    // Whatever comes next, the mark only ever covers the very next navigation.
    const bool reported = !browsingHere_.empty() && browsingHere_ == uri && frame.empty();
    browsingHere_.clear();
    if (reported || Report(uri, frame)) {
        webkit_policy_decision_use(WEBKIT_POLICY_DECISION(decision));
    } else {
        webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
    }
}

void NavigationReporter::DecideNewWindow(WebKitNavigationPolicyDecision* decision) {
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(decision);
    // Never a new window: the request is either dropped or browsed here.
    webkit_policy_decision_ignore(WEBKIT_POLICY_DECISION(decision));
    const std::string uri = UriOf(action);
    if (Report(uri, NewWindowTarget(action)) && !IsEmptyPage(uri)) {
        BrowseHere(webkit_navigation_action_get_request(action));
    }
}

bool NavigationReporter::Report(const std::string& url, const std::string& targetFrame) {
    bool cancel = false;
    try {
        events_.OnBeforeNavigate2(url, targetFrame, cancel);
    } catch (const std::exception& error) {
        // Nothing may unwind through WebKit; a navigation whose handling failed does not happen.
        g_warning("navigation to %s not handled: %s", url.c_str(), error.what());
        return false;
    } catch (...) {
        g_warning("navigation to %s not handled", url.c_str());
        return false;
    }
    return !cancel;
}

void NavigationReporter::BrowseHere(WebKitURIRequest* request) {
    browsingHere_ = Text(webkit_uri_request_get_uri(request));
    webkit_web_view_load_request(view_, request);
}

}  // namespace quillmere
