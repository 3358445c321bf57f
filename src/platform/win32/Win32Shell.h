#pragma once

#include "platform/Shell.h"

namespace quillmere {

// ShellExecuteA's "open" verb: the program registered for the file's type.
class Win32Shell : public Shell {
  public:
    std::intptr_t OpenWithDefaultProgram(const std::string& path) override;
    bool OpenAddressWithDefaultProgram(const std::string& address) override;
};

}  // namespace quillmere
