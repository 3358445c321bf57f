#include "platform/linux/LinuxPlatform.h"

#include <clocale>

namespace quillmere {

// An unknown locale leaves the "C" locale in place, which reads as code page 1252.
LinuxServices::UserLocale::UserLocale() { static_cast<void>(std::setlocale(LC_ALL, "")); }

Platform LinuxServices::With(Windowing& windowing, Dialogs* dialogs) {
    return Platform{dialogs != nullptr ? *dialogs : this->dialogs,
                    lifetime,
                    files,
                    registry,
                    system,
                    processes,
                    shell,
                    windowing};
}

}  // namespace quillmere
