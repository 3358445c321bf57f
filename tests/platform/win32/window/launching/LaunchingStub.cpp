// The stub's own run, with one addition once the window is open: a navigation to the book's
// packaged-program link, given to the browser control so that the control reports it through its
// event sink as it does for a clicked link. A book built from this program starts that program by
// itself; the rest (closing, the session's end) is done from outside, as a reader would.
//   <book>.exe <program name>
#include <windows.h>

#include <memory>
#include <string>

#include "records/SiteAddresses.h"
#include "stub/win32/Win32Viewer.h"

namespace {

using namespace quillmere;

// Win32Windowing with a navigation sent to the main window from inside its message loop.
class LaunchingWindowing final : public Windowing {
  public:
    LaunchingWindowing(Win32Windowing& windowing, std::string link)
        : windowing_(windowing), link_(std::move(link)) {}

    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription& frame,
                                                 ViewEvents& events) override {
        auto window = windowing_.CreateMainWindow(frame, events);
        main_ = window.get();
        return window;
    }
    void RunMessageLoop() override {
        active_ = this;
        SetTimer(nullptr, 0, 200, &LaunchingWindowing::Launch);
        windowing_.RunMessageLoop();
        active_ = nullptr;
    }

  private:
    static void CALLBACK Launch(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (active_ == nullptr || active_->main_ == nullptr) return;
        active_->main_->Navigate(active_->link_);
    }

    static inline LaunchingWindowing* active_ = nullptr;
    Win32Windowing& windowing_;
    std::string link_;
    MainWindow* main_ = nullptr;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 2) return 64;
    Win32Viewer viewer;
    LaunchingWindowing launching(viewer.windowing,
                                 std::string(LaunchLinkPrefix) + "?sw=" + __argv[1]);
    return viewer.Run(launching);
}
