#pragma once

#include <string>

#include "platform/Windowing.h"

namespace quillmere {

class CQuillmereApp;

// The browser view filling the frame: decides every navigation and carries out the window's
// commands.
class CQuillmereView : public ViewEvents {
  public:
    explicit CQuillmereView(CQuillmereApp& app);
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
    CQuillmereApp& app_;
    MainWindow* window_ = nullptr;
};

// The one view while it exists; start-up navigates through it.
extern CQuillmereView* TheView;

}  // namespace quillmere
