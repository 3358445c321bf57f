#pragma once

// The one way the window code includes the system's headers, so every file sees the same macros.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After <windows.h>: the OLE and browser control headers need its types.
#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <ole2.h>
#include <wrl/client.h>
