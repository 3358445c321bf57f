#pragma once

#include <memory>
#include <string>

#include "platform/Windowing.h"
#include "platform/win32/window/BrowserEvents.h"
#include "platform/win32/window/BrowserSite.h"
#include "platform/win32/window/PagePrinter.h"
#include "platform/win32/window/Win32Headers.h"

namespace quillmere {

// The system's WebBrowser control hosted in place over an area of a window. Every navigation it
// is about to make is reported to ViewEvents first, requests for new windows with the target
// "_blank"; no new window ever opens, and a request that is let through is browsed here.
class WebBrowserHost final : public BrowserSiteOwner, public BrowserEventListener {
  public:
    // nullptr when the control cannot be created; COM must be initialised on this thread.
    static std::unique_ptr<WebBrowserHost> Create(HWND host, const RECT& area, ViewEvents& events);
    ~WebBrowserHost() override;
    WebBrowserHost(const WebBrowserHost&) = delete;
    WebBrowserHost& operator=(const WebBrowserHost&) = delete;

    void Resize(const RECT& area);
    void Focus();
    // A full local path or an address, in the ANSI code page.
    void Navigate(const std::string& target);
    void GoBack();
    void GoForward();
    void Print();
    // The control's optical zoom, as a percentage; refused while it holds no document.
    void SetZoom(int percent);
    // Gives a key message to the control first; true when it took it.
    bool TranslateKey(MSG& message);

    // The control's own window; nullptr if it has none.
    HWND ControlWindow() const;
    // The control itself.
    IWebBrowser2* Control() const { return browser_.Get(); }
    // The event sink, advised on the control's connection point.
    IDispatch* EventSink() const { return sink_.Get(); }

    // BrowserSiteOwner
    HWND HostWindow() override { return host_; }
    RECT HostArea() override { return area_; }
    void ActiveObjectChanged(IOleInPlaceActiveObject* object) override { active_ = object; }

    // BrowserEventListener
    void BeforeNavigate(const std::string& url, const std::string& targetFrame,
                        bool& cancel) override;
    void NewWindow(const std::string& url) override;

  private:
    WebBrowserHost(HWND host, const RECT& area, ViewEvents& events);
    bool Embed();
    void Report(const std::string& url, const std::string& targetFrame, bool& cancel);

    HWND host_;
    RECT area_;
    ViewEvents& events_;
    Microsoft::WRL::ComPtr<BrowserSite> site_;
    Microsoft::WRL::ComPtr<BrowserEvents> sink_;
    Microsoft::WRL::ComPtr<IOleObject> object_;
    Microsoft::WRL::ComPtr<IWebBrowser2> browser_;
    Microsoft::WRL::ComPtr<IOleInPlaceActiveObject> active_;
    Microsoft::WRL::ComPtr<IConnectionPoint> connection_;
    DWORD cookie_ = 0;
    PagePrinter printer_;
    // A new-window request let through comes back as an ordinary navigation of this control; it
    // has been reported already.
    std::string browsingHere_;
};

}  // namespace quillmere
