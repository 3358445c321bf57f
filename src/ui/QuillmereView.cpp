#include "ui/QuillmereView.h"

#include "navigation/BrowserHandOff.h"
#include "package/FileHelpers.h"
#include "ui/ZoomSteps.h"

namespace quillmere {

// Says nothing of the address asked for: it may hold the Workspace's path.
const char* const kNotInBookPage =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>This page is not part of the "
    "book</title></head><body style=\"font-family:sans-serif;margin:3em\"><p>This page is not "
    "part of the book</p><p><button id=\"back\" onclick=\"history.back()\">Back</button></p>"
    "</body></html>";

namespace {

constexpr const char* kNoProgramFormat = "No program is set up to open this address:\n\n%s";
constexpr const char* kNoDownloads = "This ebook does not save files.";

// Routed navigations end in the application's launches, the browser hand-off, the reader's own
// programs or the viewer's own page.
class ViewNavigationActions : public NavigationActions {
  public:
    ViewNavigationActions(AppContext& context, ProgramActions& programs,
                          std::string& redirectPagePath, MainWindow* window)
        : context_(context),
          programs_(programs),
          redirectPagePath_(redirectPagePath),
          window_(window) {}

    void LaunchPackagedProgram(const std::string& name, const std::string& argument) override {
        programs_.LaunchPackagedProgram(name, argument);
    }
    void StartLinkedProgram(const std::string& url) override { programs_.StartLinkedProgram(url); }
    void HandOffToBrowser(const std::string& url) override {
        quillmere::HandOffToBrowser(context_, url, redirectPagePath_);
    }
    void OpenWithDefaultProgram(const std::string& url) override {
        if (!context_.platform.shell.OpenAddressWithDefaultProgram(url)) {
            ShowErrorBox(context_, kNoProgramFormat, url);
        }
    }
    void ShowNotInBook() override {
        if (window_) window_->ShowOwnPage(kNotInBookPage);
    }

  private:
    AppContext& context_;
    ProgramActions& programs_;
    std::string& redirectPagePath_;
    MainWindow* window_;
};

}  // namespace

CQuillmereView::CQuillmereView(AppContext& context, ProgramActions& programs,
                               ViewSettings& settings, const std::string& startPage,
                               const std::string& workspace)
    : context_(context),
      programs_(programs),
      settings_(settings),
      startPage_(startPage),
      workspace_(workspace),
      zoom_(kNormalZoom) {}

CQuillmereView::~CQuillmereView() { RemoveRedirectPage(context_, RedirectPagePath); }

void CQuillmereView::AttachWindow(MainWindow* window) {
    window_ = window;
    if (!window_) return;
    zoom_ = UsableZoom(settings_.ReadZoom());
    window_->SetZoom(static_cast<int>(zoom_));
}

void CQuillmereView::Navigate2(const std::string& target) {
    if (window_) window_->Navigate(target);
}

void CQuillmereView::PrintPage() {
    if (window_) window_->PrintCurrentPage();
}

void CQuillmereView::GoBack() {
    if (window_) window_->GoBack();
}

void CQuillmereView::GoForward() {
    if (window_) window_->GoForward();
}

void CQuillmereView::GoHome() {
    if (!startPage_.empty()) Navigate2(startPage_);
}

void CQuillmereView::OnBeforeNavigate2(const std::string& url, const std::string& /*targetFrame*/,
                                       bool& cancel) {
    ViewNavigationActions actions(context_, programs_, RedirectPagePath, window_);
    const std::string helpFilePath = HelpFilePath(context_);
    const BookPlace book{workspace_, helpFilePath, context_.rules, context_.platform.files,
                         context_.platform.system.Conventions().lowerCaseModuleFolder};
    RouteNavigation(url, cancel, actions, book);
}

void CQuillmereView::OnCommand(int commandId) {
    switch (commandId) {
        case kCommandPrint:
            PrintPage();
            break;
        case kCommandBack:
            GoBack();
            break;
        case kCommandForward:
            GoForward();
            break;
        case kCommandHome:
            GoHome();
            break;
        case kCommandZoomIn:
            SetZoom(ZoomStepUp(zoom_));
            break;
        case kCommandZoomOut:
            SetZoom(ZoomStepDown(zoom_));
            break;
        case kCommandZoomReset:
            SetZoom(kNormalZoom);
            break;
        default:
            break;
    }
}

void CQuillmereView::OnDownloadRefused() {
    context_.platform.dialogs.ShowMessageBox(kNoDownloads, context_.appName, kStopBox);
}

void CQuillmereView::SetZoom(std::uint32_t percent) {
    if (percent == zoom_) return;
    zoom_ = percent;
    if (window_) window_->SetZoom(static_cast<int>(zoom_));
    settings_.WriteZoom(zoom_);
}

}  // namespace quillmere
