#pragma once

#include <string>

#include "platform/System.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/RegFileRegistry.h"

namespace quillmere::testing {

// The real platform pieces that in-process tests run on.
using NativeFileSystem = PosixFileSystem;
using NativeProcesses = PosixProcesses;
// The harness keeps its settings in a .reg file of its own.
using HarnessRegistry = RegFileRegistry;

// The file in a running viewer's Workspace that holds its lock.
inline constexpr const char* kWorkspaceLockName = ":lock";

inline constexpr char kNativeSeparator = '/';

inline PathConventions HarnessConventions() { return PathConventions{'/', false, true}; }

}  // namespace quillmere::testing
