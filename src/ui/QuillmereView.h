#pragma once

#include <string>

#include "navigation/NavigationRouting.h"
#include "platform/AppContext.h"
#include "platform/Windowing.h"

namespace quillmere {

// The browser view filling the frame: decides every navigation and carries out the window's
// commands. Started programs go to `programs`; `startPage` is read when the reader goes home, so
// it may be filled after the view is made.
class CQuillmereView : public ViewEvents {
  public:
    CQuillmereView(AppContext& context, ProgramActions& programs, const std::string& startPage);
    // Deletes the redirect page if one was written.
    ~CQuillmereView() override;
    CQuillmereView(const CQuillmereView&) = delete;
    CQuillmereView& operator=(const CQuillmereView&) = delete;

    // The window whose browser control this view drives; nullptr once it is gone.
    void AttachWindow(MainWindow* window) { window_ = window; }

    void Navigate2(const std::string& target);
    void PrintPage();
    void GoBack();
    void GoForward();
    void GoHome();

    void OnBeforeNavigate2(const std::string& url, const std::string& targetFrame,
                           bool& cancel) override;
    void OnCommand(int commandId) override;

    // Where web links are handed to the default browser; fixed on first use.
    std::string RedirectPagePath;

  private:
    AppContext& context_;
    ProgramActions& programs_;
    const std::string& startPage_;
    MainWindow* window_ = nullptr;
};

}  // namespace quillmere
