#pragma once

#include <webkit2/webkit2.h>

#include <functional>

namespace quillmere {

// Keeps the web view from ever saving a file: a download (a download link, the engine's own
// downloads) is cancelled as it starts, before it has a destination, and a response the engine
// cannot show is not loaded. The reader is told once per page load, from the main loop, after the
// refusal.
class DownloadRefusal {
  public:
    DownloadRefusal(WebKitWebView* view, std::function<void()> tell);
    ~DownloadRefusal();
    DownloadRefusal(const DownloadRefusal&) = delete;
    DownloadRefusal& operator=(const DownloadRefusal&) = delete;

  private:
    static void OnDownloadStarted(WebKitWebContext* context, WebKitDownload* download,
                                  gpointer self);
    static gboolean OnDecideDestination(WebKitDownload* download, gchar* suggested, gpointer self);
    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean TellNow(gpointer self);
    void Refused();

    WebKitWebView* view_;
    WebKitWebContext* context_;
    std::function<void()> tell_;
    bool toldThisPage_ = false;
    guint pendingTell_ = 0;
};

}  // namespace quillmere
