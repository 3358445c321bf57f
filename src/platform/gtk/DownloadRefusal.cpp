#include "platform/gtk/DownloadRefusal.h"

namespace quillmere {

DownloadRefusal::DownloadRefusal(WebKitWebView* view, std::function<void()> tell)
    : view_(view), context_(webkit_web_view_get_context(view)), tell_(std::move(tell)) {
    g_signal_connect(context_, "download-started", G_CALLBACK(OnDownloadStarted), this);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
}

DownloadRefusal::~DownloadRefusal() {
    if (pendingTell_ != 0) g_source_remove(pendingTell_);
    g_signal_handlers_disconnect_by_data(context_, this);
    g_signal_handlers_disconnect_by_data(view_, this);
}

void DownloadRefusal::OnDownloadStarted(WebKitWebContext*, WebKitDownload* download,
                                        gpointer self) {
    // Should the engine still ask where to write, it is given nowhere.
    g_signal_connect(download, "decide-destination", G_CALLBACK(OnDecideDestination), nullptr);
    webkit_download_cancel(download);
    static_cast<DownloadRefusal*>(self)->Refused();
}

gboolean DownloadRefusal::OnDecideDestination(WebKitDownload* download, gchar*, gpointer) {
    webkit_download_cancel(download);
    return TRUE;
}

gboolean DownloadRefusal::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                         WebKitPolicyDecisionType type, gpointer self) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
    auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    if (webkit_response_policy_decision_is_mime_type_supported(response)) return FALSE;
    // What the engine cannot show it would save.
    webkit_policy_decision_ignore(decision);
    static_cast<DownloadRefusal*>(self)->Refused();
    return TRUE;
}

void DownloadRefusal::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
    if (event == WEBKIT_LOAD_COMMITTED) static_cast<DownloadRefusal*>(self)->toldThisPage_ = false;
}

void DownloadRefusal::Refused() {
    if (toldThisPage_) return;
    toldThisPage_ = true;
    // The box waits for the reader; the engine must not wait inside its own signal for it.
    pendingTell_ = g_idle_add(TellNow, this);
}

gboolean DownloadRefusal::TellNow(gpointer self) {
    auto* refusal = static_cast<DownloadRefusal*>(self);
    refusal->pendingTell_ = 0;
    refusal->tell_();
    return G_SOURCE_REMOVE;
}

}  // namespace quillmere
