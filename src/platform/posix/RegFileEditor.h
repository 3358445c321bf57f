#pragma once

#include <string_view>

#include "platform/LeadBytes.h"
#include "platform/posix/RegFileParser.h"

namespace quillmere {

// Makes the file give value `name` of key `keyPath` (a full path, file text) the data written as
// `dataText` (such as "dword:00000001"), changing as few lines as it can: the line that sets or
// removes the value now is replaced, else the line goes at the end of the key's last section, else
// a new section is appended. Comments, garbled lines and other keys stay as they are. A file
// without a header gets one. False when the key path has an empty part. `doc.entries` no longer
// matches `doc.lines` afterwards. `lead`: the lead bytes of the file text's code page.
bool SetRegValueLine(RegDocument& doc, std::string_view keyPath, std::string_view name,
                     std::string_view dataText, const LeadBytes& lead = LeadBytes());

}  // namespace quillmere
