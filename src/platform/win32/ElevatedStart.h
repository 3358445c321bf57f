#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillmere {

// A program that needs elevation (an installer without a manifest, or one that asks for
// administrator rights) fails in CreateProcessA with ERROR_ELEVATION_REQUIRED; the shell can start
// it with the consent prompt instead. Given the error of the failed start and the arguments it
// was given (argument 0 first), the parameters for the shell, or nullopt when the failure is of
// another kind. The shell forms that program's command line itself: its argument 0 is then the
// quoted full path, not the name the viewer gave.
std::optional<std::string> ElevatedStartParameters(unsigned long createProcessError,
                                                   const std::vector<std::string>& arguments);

}  // namespace quillmere
