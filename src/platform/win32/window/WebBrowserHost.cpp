#include "platform/win32/window/WebBrowserHost.h"

#include "platform/win32/window/AnsiText.h"

namespace quillmere {

using Microsoft::WRL::ComPtr;

std::unique_ptr<WebBrowserHost> WebBrowserHost::Create(HWND host, const RECT& area,
                                                       ViewEvents& events) {
    std::unique_ptr<WebBrowserHost> browser(new WebBrowserHost(host, area, events));
    if (!browser->Embed()) return nullptr;
    return browser;
}

WebBrowserHost::WebBrowserHost(HWND host, const RECT& area, ViewEvents& events)
    : host_(host), area_(area), events_(events) {
    site_.Attach(new BrowserSite(*this));
    sink_.Attach(new BrowserEvents(*this));
}

bool WebBrowserHost::Embed() {
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&object_)))) {
        return false;
    }
    if (FAILED(object_->SetClientSite(site_.Get()))) return false;
    if (FAILED(object_.As(&browser_))) return false;
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, host_, &area_))) {
        return false;
    }
    if (!active_) object_.As(&active_);

    ComPtr<IConnectionPointContainer> points;
    if (SUCCEEDED(object_.As(&points)) &&
        SUCCEEDED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &connection_))) {
        if (FAILED(connection_->Advise(sink_.Get(), &cookie_))) connection_.Reset();
    }
    // Without the events no navigation could be routed; such a control must not show pages.
    return connection_ != nullptr;
}

WebBrowserHost::~WebBrowserHost() {
    if (connection_) connection_->Unadvise(cookie_);
    sink_->Detach();
    if (object_) {
        ComPtr<IOleInPlaceObject> inPlace;
        if (SUCCEEDED(object_.As(&inPlace))) inPlace->InPlaceDeactivate();
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    site_->Detach();
    active_.Reset();
    // The print argument is released by printer_, after the control has gone.
    browser_.Reset();
    object_.Reset();
}

void WebBrowserHost::Resize(const RECT& area) {
    area_ = area;
    ComPtr<IOleInPlaceObject> inPlace;
    if (object_ && SUCCEEDED(object_.As(&inPlace))) inPlace->SetObjectRects(&area_, &area_);
}

void WebBrowserHost::Focus() {
    // The page takes keys (Tab, arrows, Ctrl+C) only while the control is UI-active.
    if (object_) object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.Get(), 0, host_, &area_);
    if (HWND control = ControlWindow()) SetFocus(control);
}

void WebBrowserHost::Navigate(const std::string& target) {
    VARIANT address;
    VariantInit(&address);
    const std::wstring wide = WideFromAnsi(target);
    address.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (address.bstrVal == nullptr) return;
    address.vt = VT_BSTR;
    VARIANT none;
    VariantInit(&none);
    browser_->Navigate2(&address, &none, &none, &none, &none);
    VariantClear(&address);
}

// At the ends of the history the control refuses; there is nothing to tell the reader.
void WebBrowserHost::GoBack() { browser_->GoBack(); }
void WebBrowserHost::GoForward() { browser_->GoForward(); }

void WebBrowserHost::Print() {
    printer_.Print([this](OLECMDID command, OLECMDEXECOPT option, VARIANT* in) {
        return browser_->ExecWB(command, option, in, nullptr);
    });
}

void WebBrowserHost::SetZoom(int percent) {
    constexpr auto kOpticalZoom = static_cast<OLECMDID>(63);  // OLECMDID_OPTICAL_ZOOM
    VARIANT zoom;
    VariantInit(&zoom);
    zoom.vt = VT_I4;
    zoom.lVal = percent;
    browser_->ExecWB(kOpticalZoom, OLECMDEXECOPT_DONTPROMPTUSER, &zoom, nullptr);
}

bool WebBrowserHost::TranslateKey(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !active_) return false;
    HWND control = ControlWindow();
    if (control == nullptr || (message.hwnd != control && !IsChild(control, message.hwnd))) {
        return false;
    }
    return active_->TranslateAccelerator(&message) == S_OK;
}

HWND WebBrowserHost::ControlWindow() const {
    ComPtr<IOleWindow> window;
    HWND handle = nullptr;
    if (object_ && SUCCEEDED(object_.As(&window))) window->GetWindow(&handle);
    return handle;
}

void WebBrowserHost::BeforeNavigate(const std::string& url, const std::string& targetFrame,
                                    bool& cancel) {
    if (!browsingHere_.empty()) {
        const bool reported = url == browsingHere_;
        browsingHere_.clear();
        if (reported) return;
    }
    Report(url, targetFrame, cancel);
}

void WebBrowserHost::NewWindow(const std::string& url) {
    bool cancel = false;
    Report(url, "_blank", cancel);
    if (cancel || url.empty()) return;
    browsingHere_ = url;
    Navigate(url);
}

void WebBrowserHost::Report(const std::string& url, const std::string& targetFrame, bool& cancel) {
    try {
        events_.OnBeforeNavigate2(url, targetFrame, cancel);
    } catch (...) {
        // A navigation that could not be routed is not browsed.
        cancel = true;
    }
}

}  // namespace quillmere
