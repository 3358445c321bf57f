#pragma once

// The one way the window code includes the system's headers (NOMINMAX and WIN32_LEAN_AND_MEAN come
// from the backend's build definitions).
#include <windows.h>
// After <windows.h>: the OLE and browser control headers need its types.
#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <ole2.h>
#include <wrl/client.h>
