#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "navigation/NavigationRouting.h"
#include "navigation/StartedPrograms.h"
#include "pages/AdvertStore.h"
#include "platform/AppContext.h"
#include "platform/HeapBuffer.h"
#include "platform/Platform.h"
#include "records/BrandingSettings.h"
#include "records/PackageDirectory.h"
#include "ui/ViewSettings.h"

namespace quillmere {

class CQuillmereDoc;
class CQuillmereView;
class CMainFrame;

// The application object: owns the whole life of the viewer, from the record checks at start-up
// to the removal of the Workspace at exit. It starts the programs the view's navigations name and
// keeps the view's settings in the registry.
class CQuillmereApp : public ProgramActions, public ViewSettings {
  public:
    // `recordBlock` points at the record block: the branding record followed by the package
    // directory. The stub passes its own; tests pass one found in a built book.
    CQuillmereApp(Platform& platform, const std::uint8_t* recordBlock);
    ~CQuillmereApp() override;
    CQuillmereApp(const CQuillmereApp&) = delete;
    CQuillmereApp& operator=(const CQuillmereApp&) = delete;

    // The start-up sequence. False when start-up failed (the reason has been shown).
    bool InitInstance();
    // The exit sequence; its result is the process exit code.
    int ExitInstance();

    bool IsTermsExempt();
    // Returns only when the reader accepted; otherwise the process ends with exit code 1.
    void AskTermsOfUse();

    // Removes what earlier runs of this user left behind under `temporaryDirectory`, then names
    // and creates a fresh folder there and locks it for the life of this run. False when no
    // folder was made.
    bool CreateWorkspace(const std::string& temporaryDirectory);
    void CleanUpWorkspace();
    // Removes the Workspace folder with its lock file; once it is gone it is forgotten, so
    // nothing touches that name again (a later copy may own it by then).
    void RemoveWorkspaceFolder();
    // A stop (signal, end of session, display gone): no more waiting, remove what can be
    // removed, end the process.
    void Stop();

    // Deciphers the package and writes every page and file into the Workspace. False after a
    // failure has been shown.
    bool ExtractPackage();

    void LaunchPackagedProgram(const std::string& name, const std::string& argument) override;
    void StartLinkedProgram(const std::string& url) override;

    // "LU"/"Zoom", beside the terms.
    std::uint32_t ReadZoom() override;
    void WriteZoom(std::uint32_t percent) override;

    const PackageDirectory& Directory() const { return directory_; }
    bool WorkspaceCreated() const { return workspaceCreated_; }

    AppContext Context;
    // The reseller's values from the branding record; the rewriting pass may overwrite the
    // reseller's name and site for the rest of the run.
    BrandingValues BrandingSettings;
    // The advert picture as the last page's read of the store left it; written into the
    // Workspace after the pages.
    AdvertImageBuffer AdvertImage;
    std::string SelfImagePath;
    HeapBuffer SelfImage;
    std::uint32_t SelfImageSize = 0;
    std::string StartPage;
    std::string Workspace;
    StartedProgramList StartedPrograms;

    // The single-document window, made by the document template at start-up.
    std::unique_ptr<CQuillmereDoc> Document;
    std::unique_ptr<CQuillmereView> View;
    std::unique_ptr<CMainFrame> MainFrame;

  private:
    // The files extraction could have written; nothing is shown.
    void RemoveWorkspaceFiles();

    const std::uint8_t* recordBlock_;
    PackageDirectory directory_;
    // Clean-up and removal touch only a folder this run created; a name that was tried and
    // found taken belongs to someone else.
    bool workspaceCreated_ = false;
    std::unique_ptr<FolderLock> workspaceLock_;
    bool startupSucceeded_ = false;
};

}  // namespace quillmere
