#include "ui/QuillmereView.h"

#include "navigation/BrowserHandOff.h"
#include "package/FileHelpers.h"

namespace quillmere {

namespace {

// Routed navigations end in the application's launches or the browser hand-off.
class ViewNavigationActions : public NavigationActions {
  public:
    ViewNavigationActions(AppContext& context, ProgramActions& programs,
                          std::string& redirectPagePath)
        : context_(context), programs_(programs), redirectPagePath_(redirectPagePath) {}

    void LaunchPackagedProgram(const std::string& name, const std::string& argument) override {
        programs_.LaunchPackagedProgram(name, argument);
    }
    void StartLinkedProgram(const std::string& url) override { programs_.StartLinkedProgram(url); }
    void HandOffToBrowser(const std::string& url) override {
        quillmere::HandOffToBrowser(context_, url, redirectPagePath_);
    }

  private:
    AppContext& context_;
    ProgramActions& programs_;
    std::string& redirectPagePath_;
};

}  // namespace

CQuillmereView::CQuillmereView(AppContext& context, ProgramActions& programs,
                               const std::string& startPage)
    : context_(context), programs_(programs), startPage_(startPage) {}

CQuillmereView::~CQuillmereView() { RemoveRedirectPage(context_, RedirectPagePath); }

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
    ViewNavigationActions actions(context_, programs_, RedirectPagePath);
    RouteNavigation(url, cancel, actions, HelpFilePath(context_), context_.rules);
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
