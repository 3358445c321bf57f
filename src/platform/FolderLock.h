#pragma once

namespace quillmere {

// A lock file inside a folder, held by the viewer that made the folder for as long as it runs. A
// later start that can take the lock knows the folder's viewer is gone.
class FolderLock {
  public:
    // Releases the lock; the lock file stays, so the folder can still be told apart.
    virtual ~FolderLock() = default;
    // Deletes the lock file, then releases the lock.
    virtual void Remove() = 0;
};

}  // namespace quillmere
