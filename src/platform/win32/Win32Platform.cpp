#include "platform/win32/Win32Platform.h"

namespace quillmere {

Platform Win32Services::With(Windowing& windowing) {
    return Platform{dialogs, lifetime, files, registry, system, processes, shell, windowing};
}

}  // namespace quillmere
