#include "app/QuillmereApp.h"

#include "app/ApplicationFramework.h"
#include "app/ProfileSettings.h"
#include "navigation/ProgramLaunch.h"
#include "package/FileHelpers.h"
#include "records/BrandingRecord.h"
#include "records/RecordLayout.h"
#include "ui/MainFrame.h"
#include "ui/QuillmereDoc.h"
#include "ui/QuillmereView.h"
#include "ui/ZoomSteps.h"

namespace quillmere {

namespace {

TextRules RulesOf(Platform& platform) {
    return TextRules{LeadBytes(platform.system.AnsiCodePage()),
                     platform.system.Conventions().separator};
}

void ShowStop(AppContext& ctx, const char* text) {
    ctx.platform.dialogs.ShowMessageBox(text, ctx.appName, kStopBox);
}

}  // namespace

CQuillmereApp::CQuillmereApp(Platform& platform, const std::uint8_t* recordBlock)
    : Context{platform, RulesOf(platform)},
      recordBlock_(recordBlock),
      directory_(recordBlock + kPackageDirectoryOffset) {
    platform.lifetime.SetStopHandler([this] { Stop(); });
}

CQuillmereApp::~CQuillmereApp() {
    Context.platform.lifetime.SetStopHandler(nullptr);
    DestroyDocumentWindow(*this);
}

bool CQuillmereApp::InitInstance() {
    Platform& platform = Context.platform;

    LoadBrandingSettings(recordBlock_, BrandingSettings, Context);
    if (BrandingSettings.EbookTitle.empty()) BrandingSettings.EbookTitle = kInitialAppName;
    Context.appName = BrandingSettings.EbookTitle;

    SelfImagePath = SelfImagePathFor(Context);
    SelfImage = ReadWholeFile(Context, SelfImagePath, SelfImageSize);
    if (!SelfImage) return false;

    if (GetProfileInt(Context, "LU", "Terms", 0) == 0 && !IsTermsExempt()) AskTermsOfUse();

    if (!CreateDocumentWindow(*this)) return false;
    MainWindow& window = MainFrame->Window();
    ShowState state = ShowState::Normal;
    if (window.GetShowState(state) && state != ShowState::Maximized) {
        window.SetShowState(ShowState::Maximized);
    }
    window.Show();
    window.Update();
    window.SetCaption(BrandingSettings.EbookTitle);

    const auto temporaryDirectory = platform.files.TemporaryDirectory();
    if (!temporaryDirectory || temporaryDirectory->empty()) {
        ShowStop(Context, "Error - unable to determine Windows TEMP directory");
        return false;
    }
    if (!CreateWorkspace(*temporaryDirectory)) {
        ShowStop(Context, "Error - unable to create TEMP folder");
        return false;
    }

    if (!ExtractPackage()) {
        // Succeeds only while nothing was written; the exit sequence removes the rest.
        RemoveWorkspaceFolder();
        return false;
    }
    if (StartPage.empty()) {
        ShowStop(Context, "No HTML file in ebook");
        CleanUpWorkspace();
        RemoveWorkspaceFolder();
        return false;
    }

    View->Navigate2(StartPage);
    window.BringToForeground();
    startupSucceeded_ = true;
    return true;
}

int CQuillmereApp::ExitInstance() {
    // What the framework's own exit gives: success after the reader closed the window, failure
    // after a start-up that did not get that far.
    const int result = startupSucceeded_ ? 0 : 1;
    WaitForStartedPrograms(StartedPrograms, Context.platform.processes);
    CleanUpWorkspace();
    RemoveWorkspaceFolder();
    return result;
}

void CQuillmereApp::Stop() {
    RemoveWorkspaceFiles();
    RemoveWorkspaceFolder();
    // The code the exit sequence would have given at this point.
    Context.platform.lifetime.EndProcess(startupSucceeded_ ? 0 : 1);
}

void CQuillmereApp::LaunchPackagedProgram(const std::string& name, const std::string& argument) {
    LaunchContext launch{Context,       directory_, SelfImage.get(),
                         SelfImageSize, Workspace,  StartedPrograms};
    quillmere::LaunchPackagedProgram(launch, name, argument);
}

void CQuillmereApp::StartLinkedProgram(const std::string& url) {
    LaunchContext launch{Context,       directory_, SelfImage.get(),
                         SelfImageSize, Workspace,  StartedPrograms};
    quillmere::StartLinkedProgram(launch, url);
}

std::uint32_t CQuillmereApp::ReadZoom() {
    return GetProfileInt(Context, "LU", "Zoom", kNormalZoom);
}

void CQuillmereApp::WriteZoom(std::uint32_t percent) {
    WriteProfileInt(Context, "LU", "Zoom", percent);
}

}  // namespace quillmere
