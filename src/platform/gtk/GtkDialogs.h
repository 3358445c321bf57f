#pragma once

#include <memory>

#include "platform/Dialogs.h"
#include "platform/gtk/GtkShared.h"

namespace quillmere {

// Message boxes as modal GTK message dialogs: titled with the caption, centred, with the stop or
// question icon. While a main window is visible the box is modal to it.
class GtkDialogs : public Dialogs {
  public:
    explicit GtkDialogs(std::shared_ptr<GtkShared> shared) : shared_(std::move(shared)) {}
    MessageBoxAnswer ShowMessageBox(std::string_view text, std::string_view caption,
                                    MessageBoxStyle style) override;

  private:
    std::shared_ptr<GtkShared> shared_;
};

}  // namespace quillmere
