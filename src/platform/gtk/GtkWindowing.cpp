#include "platform/gtk/GtkWindowing.h"

#include "platform/gtk/GtkMainWindow.h"

namespace quillmere {

std::unique_ptr<MainWindow> GtkWindowing::CreateMainWindow(const FrameDescription& frame,
                                                           ViewEvents& events) {
    return std::make_unique<GtkMainWindow>(frame, events, shared_);
}

void GtkWindowing::RunMessageLoop() {
    GtkWindow* window = shared_->mainWindow;
    if (window == nullptr || !gtk_widget_get_visible(GTK_WIDGET(window))) return;
    gtk_main();
}

}  // namespace quillmere
