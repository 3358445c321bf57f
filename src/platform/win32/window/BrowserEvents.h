#pragma once

#include <string>

#include "platform/win32/window/Win32Headers.h"

namespace quillmere {

// What the control's navigation events become.
class BrowserEventListener {
  public:
    virtual ~BrowserEventListener() = default;
    // Addresses are in the ANSI code page.
    virtual void BeforeNavigate(const std::string& url, const std::string& targetFrame,
                                bool& cancel) = 0;
    // A page asks for a new window; the control's own new window is always cancelled.
    virtual void NewWindow(const std::string& url) = 0;
};

// The DWebBrowserEvents2 sink advised on the control's connection point. The listener is dropped
// with Detach before it goes; the control may hold the sink a little longer.
class BrowserEvents final : public IDispatch {
  public:
    explicit BrowserEvents(BrowserEventListener& listener) : listener_(&listener) {}
    void Detach() { listener_ = nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

  private:
    ~BrowserEvents() = default;
    HRESULT OnBeforeNavigate2(const DISPPARAMS& params);
    HRESULT OnNewWindow3(const DISPPARAMS& params);

    LONG references_ = 1;
    BrowserEventListener* listener_;
};

}  // namespace quillmere
