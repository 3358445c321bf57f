#pragma once

#include "platform/Shell.h"

namespace quillmere {

// Results at or below kShellSuccessAbove, as the Windows shell numbers them.
inline constexpr std::intptr_t kShellFileNotFound = 2;
inline constexpr std::intptr_t kShellAccessDenied = 5;  // the handler could not be started
inline constexpr std::intptr_t kShellNoAssociation = 31;
inline constexpr std::intptr_t kShellOpened = 42;

// Opens files with the user's default handler for their type, as the desktop's file manager
// does: the type from the file name, the handler from the desktop's mimeapps.list and .desktop
// files; for an address, the desktop's handler for its scheme (x-scheme-handler/<scheme>). The
// handler is started and left running; nothing waits for it.
class GioShell : public Shell {
  public:
    std::intptr_t OpenWithDefaultProgram(const std::string& path) override;
    bool OpenAddressWithDefaultProgram(const std::string& address) override;
};

}  // namespace quillmere
