#pragma once

#include <cstdint>
#include <string>

namespace quillmere {

// A result above this means the shell opened the file.
inline constexpr std::intptr_t kShellSuccessAbove = 32;

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a local file with the user's default program for its type, as double-clicking it would.
    virtual std::intptr_t OpenWithDefaultProgram(const std::string& path) = 0;
    // Hands an address of a scheme the viewer does not show (mailto:, tel:, news:, ...) to the
    // user's program for that scheme, which is started and left running. False when no program
    // is set up for the scheme or it could not be started.
    virtual bool OpenAddressWithDefaultProgram(const std::string& address) = 0;
};

}  // namespace quillmere
