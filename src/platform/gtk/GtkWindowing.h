#pragma once

#include <memory>

#include "platform/Windowing.h"
#include "platform/gtk/GtkShared.h"

namespace quillmere {

class GtkWindowing : public Windowing {
  public:
    explicit GtkWindowing(std::shared_ptr<GtkShared> shared) : shared_(std::move(shared)) {}
    std::unique_ptr<MainWindow> CreateMainWindow(const FrameDescription& frame,
                                                 ViewEvents& events) override;
    // Returns at once when no main window is showing: nobody could close it.
    void RunMessageLoop() override;

  private:
    std::shared_ptr<GtkShared> shared_;
};

}  // namespace quillmere
