#pragma once

#include "platform/Dialogs.h"

namespace quillmere {

// MessageBoxA. A box has no owner until the main window is set as its owner.
class Win32Dialogs : public Dialogs {
  public:
    MessageBoxAnswer ShowMessageBox(std::string_view text, std::string_view caption,
                                    MessageBoxStyle style) override;

    // The main window's HWND once it exists; nullptr again when it is gone.
    void SetOwner(void* window) { owner_ = window; }

  private:
    void* owner_ = nullptr;
};

// The MessageBoxA style bits for a box.
unsigned MessageBoxFlags(MessageBoxStyle style);

}  // namespace quillmere
