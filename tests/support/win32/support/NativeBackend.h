#pragma once

#include <string>

#include "platform/System.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "support/FakePlatform.h"

namespace quillmere::testing {

// The real platform pieces that in-process tests run on.
using NativeFileSystem = Win32FileSystem;
using NativeProcesses = Win32Processes;

// Settings in memory: tests running side by side must not share the user's registry.
class HarnessRegistry : public MemoryRegistry {
  public:
    explicit HarnessRegistry(const std::string& /*unused path*/) {}
};

// The file in a running viewer's Workspace that holds its lock.
inline constexpr const char* kWorkspaceLockName = "lock.";

inline constexpr char kNativeSeparator = '\\';

// Windows separators and folder case; the harness's books are not named ".exe", so the image is
// read from the module path itself.
inline PathConventions HarnessConventions() { return PathConventions{'\\', true, true}; }

}  // namespace quillmere::testing
