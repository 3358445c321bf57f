#pragma once

#include "platform/LeadBytes.h"

namespace quillmere {

// How text and paths are read on this platform: the code page's lead bytes and the folder
// separator.
struct TextRules {
    LeadBytes leadBytes;
    char separator = '\\';
};

}  // namespace quillmere
