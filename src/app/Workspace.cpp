#include <algorithm>
#include <string>

#include "app/PackageDirectoryCheck.h"
#include "app/QuillmereApp.h"
#include "package/PlainFileName.h"
#include "pages/AdvertStore.h"
#include "records/RecordLayout.h"

namespace quillmere {

namespace {

constexpr const char* kWorkspacePrefix = "vellumkit__";
// Four copies started in the same second get the plain name, then "x", "xx" and "xxx".
constexpr int kWorkspaceRetries = 3;

}  // namespace

bool CQuillmereApp::CreateWorkspace(const std::string& temporaryDirectory) {
    FileSystem& files = Context.platform.files;
    // Workspaces of earlier runs whose viewer is gone: killed, crashed, or the power cut.
    files.RemoveOrphanedFolders(temporaryDirectory, kWorkspacePrefix);

    Workspace = temporaryDirectory;
    if (Workspace.back() != Context.rules.separator) Workspace += Context.rules.separator;
    Workspace += kWorkspacePrefix;
    Workspace += std::to_string(Context.platform.system.CurrentTime());

    for (int attempt = 0;; ++attempt) {
        const CreateDirectoryResult result = files.CreateFolder(Workspace);
        if (result == CreateDirectoryResult::Created) break;
        if (result == CreateDirectoryResult::Failed || attempt == kWorkspaceRetries) return false;
        Workspace += 'x';
    }
    Workspace += Context.rules.separator;
    workspaceCreated_ = true;
    // Without the lock the folder is only missed by later starts' clean-up; it still works.
    workspaceLock_ = files.LockFolder(Workspace);
    return true;
}

void CQuillmereApp::CleanUpWorkspace() {
    Platform& platform = Context.platform;
    if (!directory_.IsMerged()) {
        platform.dialogs.ShowMessageBox("Stub not merged with form files", Context.appName,
                                        kStopBox);
        platform.lifetime.EndProcess(1);
    }
    if (directory_.FileCount() == 0) {
        platform.dialogs.ShowMessageBox("There are no image files in the package", Context.appName,
                                        kStopBox);
        platform.lifetime.EndProcess(1);
    }
    RemoveWorkspaceFiles();
}

void CQuillmereApp::RemoveWorkspaceFiles() {
    Platform& platform = Context.platform;
    if (!workspaceCreated_) return;

    // Only names extraction could have written, and never more entries than the record holds.
    const std::uint32_t count = std::min<std::uint32_t>(directory_.FileCount(), kMaxEntries);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string name = directory_.Entry(i).Name;
        if (IsPlainFileName(name, Context.rules.leadBytes))
            platform.files.RemoveFile(Workspace + name);
    }
    if (AdvertImage.size != 0) platform.files.RemoveFile(Workspace + "advertimg.jpg");
    platform.files.RemoveFile(Workspace + "ftplist.txt");
}

void CQuillmereApp::RemoveWorkspaceFolder() {
    if (!workspaceCreated_) return;
    FileSystem& files = Context.platform.files;
    if (workspaceLock_) workspaceLock_->Remove();
    workspaceLock_.reset();
    if (files.RemoveFolder(Workspace)) {
        workspaceCreated_ = false;
    } else {
        // Something is still inside: the folder stays ours until the next try.
        workspaceLock_ = files.LockFolder(Workspace);
    }
}

}  // namespace quillmere
