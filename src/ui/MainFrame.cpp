#include "ui/MainFrame.h"

#include "ui/QuillmereView.h"

namespace quillmere {

FrameDescription MainFrameDescription() {
    return FrameDescription{"Quillmere", "Print Instructions", kCommandPrint};
}

std::unique_ptr<CMainFrame> CMainFrame::Create(Windowing& windowing, CQuillmereView& view) {
    auto window = windowing.CreateMainWindow(MainFrameDescription(), view);
    if (!window) return nullptr;
    return std::unique_ptr<CMainFrame>(new CMainFrame(std::move(window), view));
}

CMainFrame::CMainFrame(std::unique_ptr<MainWindow> window, CQuillmereView& view)
    : window_(std::move(window)), view_(view) {
    view_.AttachWindow(window_.get());
}

CMainFrame::~CMainFrame() {
    view_.AttachWindow(nullptr);
    window_.reset();
}

}  // namespace quillmere
