#include "platform/win32/window/BrowserSite.h"

#include "platform/win32/window/ComBoundary.h"

namespace quillmere {

STDMETHODIMP BrowserSite::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
        *object = static_cast<IOleClientSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite)) {
        *object = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame)) {
        *object = static_cast<IOleInPlaceFrame*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BrowserSite::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) BrowserSite::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP BrowserSite::SaveObject() { return S_OK; }

STDMETHODIMP BrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP BrowserSite::ShowObject() { return S_OK; }
STDMETHODIMP BrowserSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::RequestNewObjectLayout() { return E_NOTIMPL; }

STDMETHODIMP BrowserSite::GetWindow(HWND* window) {
    if (window == nullptr) return E_POINTER;
    *window = owner_ ? owner_->HostWindow() : nullptr;
    return *window ? S_OK : E_FAIL;
}

STDMETHODIMP BrowserSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP BrowserSite::CanInPlaceActivate() { return owner_ ? S_OK : S_FALSE; }
STDMETHODIMP BrowserSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP BrowserSite::OnUIActivate() { return S_OK; }

STDMETHODIMP BrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT position, LPRECT clip,
                                           LPOLEINPLACEFRAMEINFO frameInfo) {
    if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
        frameInfo == nullptr) {
        return E_POINTER;
    }
    if (owner_ == nullptr) return E_UNEXPECTED;
    return GuardComCall([&] {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        *position = owner_->HostArea();
        *clip = *position;
        frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
        frameInfo->fMDIApp = FALSE;
        frameInfo->hwndFrame = owner_->HostWindow();
        frameInfo->haccel = nullptr;
        frameInfo->cAccelEntries = 0;
        return S_OK;
    });
}

STDMETHODIMP BrowserSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::OnUIDeactivate(BOOL) { return S_OK; }

STDMETHODIMP BrowserSite::OnInPlaceDeactivate() {
    if (owner_) owner_->ActiveObjectChanged(nullptr);
    return S_OK;
}

STDMETHODIMP BrowserSite::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::OnPosRectChange(LPCRECT) { return S_OK; }

STDMETHODIMP BrowserSite::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP BrowserSite::SetBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }

STDMETHODIMP BrowserSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
    if (owner_) owner_->ActiveObjectChanged(object);
    return S_OK;
}

STDMETHODIMP BrowserSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP BrowserSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
STDMETHODIMP BrowserSite::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP BrowserSite::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP BrowserSite::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

}  // namespace quillmere
