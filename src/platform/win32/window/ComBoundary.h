#pragma once

#include <new>

#include "platform/win32/window/Win32Headers.h"

namespace quillmere {

// No C++ exception may leave a COM method: the caller is system code that cannot unwind it.
template <class Body>
HRESULT GuardComCall(Body&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace quillmere
