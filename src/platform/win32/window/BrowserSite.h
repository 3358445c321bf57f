#pragma once

#include "platform/win32/window/Win32Headers.h"

namespace quillmere {

// What the site asks of the window that hosts the control.
class BrowserSiteOwner {
  public:
    virtual ~BrowserSiteOwner() = default;
    virtual HWND HostWindow() = 0;
    // The part of the host window the control covers, in its client coordinates.
    virtual RECT HostArea() = 0;
    virtual void ActiveObjectChanged(IOleInPlaceActiveObject* object) = 0;
};

// The container side the WebBrowser control talks to when it is hosted in place: client site,
// in-place site, and the frame (the host window itself: no toolbars, no menus merged). The owner
// is dropped with Detach before it goes; the control may hold the site a little longer.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
  public:
    explicit BrowserSite(BrowserSiteOwner& owner) : owner_(&owner) {}
    void Detach() { owner_ = nullptr; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;

    // IOleWindow, shared by the in-place site and the frame
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO frameInfo) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT position) override;

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG message, WORD id) override;

  private:
    ~BrowserSite() = default;

    LONG references_ = 1;
    BrowserSiteOwner* owner_;
};

}  // namespace quillmere
