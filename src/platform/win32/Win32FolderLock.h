#pragma once

#include <memory>
#include <string>

#include "platform/FolderLock.h"

namespace quillmere {

// The lock file is "lock." in the folder: a trailing dot no book name may have, which only the
// "\\?\" form of a path can hold. It is held by being open with no sharing at all, so a later
// start that can open it the same way knows its viewer is gone.
std::unique_ptr<FolderLock> LockWin32Folder(const std::string& folder);

// Removes the files in each folder of `parent` whose name begins with `prefix` and whose lock can
// be taken,
// then the lock and the folder. Links and junctions are never entered.
void RemoveOrphanedWin32Folders(const std::string& parent, const std::string& prefix);

}  // namespace quillmere
