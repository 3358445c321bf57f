#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Lifetime.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"

namespace quillmere {

// The Win32 services, one of each, built once in WinMain. Windowing is given separately.
class Win32Services {
  public:
    Win32Services() = default;
    Win32Services(const Win32Services&) = delete;
    Win32Services& operator=(const Win32Services&) = delete;

    Platform With(Windowing& windowing);

    Win32FileSystem files;
    Win32Registry registry;
    Win32System system;
    Win32Processes processes;
    Win32Shell shell;
    Win32Lifetime lifetime;
    Win32Dialogs dialogs;
};

}  // namespace quillmere
