#pragma once

#include "platform/Dialogs.h"

namespace quillmere {

// Message boxes on the terminal, for when there is no display. The box goes to `outputFd` as its
// caption, its text and its buttons. A Yes/No question reads one line from `inputFd` if that is a
// terminal ("y" or "yes", in any letter case, is Yes); anything else, end of input, or input that
// is not a terminal gives No, the default button.
class TerminalDialogs : public Dialogs {
  public:
    explicit TerminalDialogs(int inputFd = 0, int outputFd = 2);

    MessageBoxAnswer ShowMessageBox(std::string_view text, std::string_view caption,
                                    MessageBoxStyle style) override;

  private:
    int inputFd_;
    int outputFd_;
};

}  // namespace quillmere
