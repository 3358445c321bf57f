#include "platform/win32/window/BrowserEvents.h"

#include "platform/win32/window/AnsiText.h"
#include "platform/win32/window/ComBoundary.h"

namespace quillmere {

namespace {

// Arguments arrive last first: the n-th declared of `count` is at index count - 1 - n.
const VARIANT* Argument(const DISPPARAMS& params, UINT declared, UINT count) {
    if (params.cArgs != count || params.rgvarg == nullptr) return nullptr;
    return &params.rgvarg[count - 1 - declared];
}

// A string given by value or through a reference to a variant; anything else is empty.
std::string StringOf(const VARIANT* argument) {
    if (argument == nullptr) return {};
    if (argument->vt == (VT_BYREF | VT_VARIANT) && argument->pvarVal != nullptr) {
        argument = argument->pvarVal;
    }
    if (argument->vt == VT_BSTR) return AnsiFromBstr(argument->bstrVal);
    if (argument->vt == (VT_BYREF | VT_BSTR) && argument->pbstrVal != nullptr) {
        return AnsiFromBstr(*argument->pbstrVal);
    }
    return {};
}

VARIANT_BOOL* CancelFlagOf(const VARIANT* argument) {
    if (argument == nullptr || argument->vt != (VT_BYREF | VT_BOOL)) return nullptr;
    return argument->pboolVal;
}

}  // namespace

STDMETHODIMP BrowserEvents::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, DIID_DWebBrowserEvents2)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) BrowserEvents::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) BrowserEvents::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP BrowserEvents::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP BrowserEvents::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP BrowserEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP BrowserEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) {
    if (params == nullptr || listener_ == nullptr) return S_OK;
    return GuardComCall([&]() -> HRESULT {
        switch (id) {
            case DISPID_BEFORENAVIGATE2:
                return OnBeforeNavigate2(*params);
            case DISPID_NEWWINDOW3:
                return OnNewWindow3(*params);
            default:
                return S_OK;
        }
    });
}

HRESULT BrowserEvents::OnBeforeNavigate2(const DISPPARAMS& params) {
    // pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel
    constexpr UINT kCount = 7;
    VARIANT_BOOL* cancelFlag = CancelFlagOf(Argument(params, 6, kCount));
    if (cancelFlag == nullptr) return E_INVALIDARG;
    bool cancel = *cancelFlag != VARIANT_FALSE;
    listener_->BeforeNavigate(StringOf(Argument(params, 1, kCount)),
                              StringOf(Argument(params, 3, kCount)), cancel);
    *cancelFlag = cancel ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT BrowserEvents::OnNewWindow3(const DISPPARAMS& params) {
    // ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl
    constexpr UINT kCount = 5;
    VARIANT_BOOL* cancelFlag = CancelFlagOf(Argument(params, 1, kCount));
    if (cancelFlag == nullptr) return E_INVALIDARG;
    // There is only one window: no new one opens, whatever the listener decides.
    *cancelFlag = VARIANT_TRUE;
    listener_->NewWindow(StringOf(Argument(params, 4, kCount)));
    return S_OK;
}

}  // namespace quillmere
