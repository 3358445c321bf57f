#include "platform/posix/PosixLifetime.h"

#include <cstdlib>

namespace quillmere {

void PosixLifetime::EndProcess(int exitCode) { std::exit(exitCode); }

}  // namespace quillmere
