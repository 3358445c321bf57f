#include "ui/QuillmereView.h"

#include "app/QuillmereApp.h"
#include "navigation/BrowserHandOff.h"
#include "navigation/NavigationRouting.h"
#include "package/FileHelpers.h"

namespace quillmere {

CQuillmereView* TheView = nullptr;

namespace {

// Routed navigations end in the application's launches or the browser hand-off.
class ViewNavigationActions : public NavigationActions {
  public:
    ViewNavigationActions(CQuillmereApp& app, std::string& redirectPagePath)
        : app_(app), redirectPagePath_(redirectPagePath) {}

    void LaunchPackagedProgram(const std::string& name, const std::string& argument) override {
        app_.LaunchPackagedProgram(name, argument);
    }
    void StartLinkedProgram(const std::string& url) override { app_.StartLinkedProgram(url); }
    void HandOffToBrowser(const std::string& url) override {
        quillmere::HandOffToBrowser(app_.Context, url, redirectPagePath_);
    }

  private:
    CQuillmereApp& app_;
    std::string& redirectPagePath_;
};

}  // namespace

CQuillmereView::CQuillmereView(CQuillmereApp& app) : app_(app) { TheView = this; }

CQuillmereView::~CQuillmereView() {
    RemoveRedirectPage(app_.Context, RedirectPagePath);
    if (TheView == this) TheView = nullptr;
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
    if (!app_.StartPage.empty()) Navigate2(app_.StartPage);
}

void CQuillmereView::OnBeforeNavigate2(const std::string& url, const std::string& /*targetFrame*/,
                                       bool& cancel) {
    ViewNavigationActions actions(app_, RedirectPagePath);
    RouteNavigation(url, cancel, actions, HelpFilePath(app_.Context), app_.Context.rules);
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
        default:
            break;
    }
}

}  // namespace quillmere
