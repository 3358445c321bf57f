#pragma once

#include <cstdint>
#include <string>

#include "navigation/NavigationRouting.h"
#include "platform/AppContext.h"
#include "platform/Windowing.h"
#include "ui/ViewSettings.h"

namespace quillmere {

// The browser view filling the frame: decides every navigation and carries out the window's
// commands. Started programs go to `programs`, the zoom is kept in `settings`; `startPage` is read
// when the reader goes home and `workspace` at each navigation, so both may be filled after the
// view is made.
class CQuillmereView : public ViewEvents {
  public:
    CQuillmereView(AppContext& context, ProgramActions& programs, ViewSettings& settings,
                   const std::string& startPage, const std::string& workspace);
    // Deletes the redirect page if one was written.
    ~CQuillmereView() override;
    CQuillmereView(const CQuillmereView&) = delete;
    CQuillmereView& operator=(const CQuillmereView&) = delete;

    // The window whose browser control this view drives; nullptr once it is gone. A new window
    // takes the zoom the reader last chose for this book.
    void AttachWindow(MainWindow* window);

    void Navigate2(const std::string& target);
    void PrintPage();
    void GoBack();
    void GoForward();
    void GoHome();

    void OnBeforeNavigate2(const std::string& url, const std::string& targetFrame,
                           bool& cancel) override;
    void OnCommand(int commandId) override;
    void OnDownloadRefused() override;

    // Where web links are handed to the default browser; fixed on first use.
    std::string RedirectPagePath;

  private:
    void SetZoom(std::uint32_t percent);

    AppContext& context_;
    ProgramActions& programs_;
    ViewSettings& settings_;
    const std::string& startPage_;
    const std::string& workspace_;
    MainWindow* window_ = nullptr;
    std::uint32_t zoom_;
};

// The page the view shows in place of one that is not part of the book.
extern const char* const kNotInBookPage;

}  // namespace quillmere
