#pragma once

#include <string>

#include "platform/Platform.h"
#include "platform/TextRules.h"

namespace quillmere {

inline constexpr const char* kInitialAppName = "Ebook";

// What every operation needs from its surroundings: the platform, the text rules, and the
// application name that captions every message box (the ebook's title once start-up has set it).
struct AppContext {
    Platform& platform;
    TextRules rules;
    std::string appName = kInitialAppName;
};

}  // namespace quillmere
