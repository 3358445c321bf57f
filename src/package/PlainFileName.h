#pragma once

#include <string_view>

#include "platform/LeadBytes.h"

namespace quillmere {

// True for a name that can only ever mean a file directly inside a given folder, on every
// platform a book is read on: not empty, not "." or "..", no folder separator of either platform
// (a 0x5C trail byte of a two-byte character is not one), no drive or stream colon, no zero byte,
// no Windows device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with or without an extension),
// and no dot or blank at the end, which Windows would drop.
//
// With no lead bytes every 0x5C byte counts as a separator, and lead bytes only ever make more
// names plain, so a name plain without lead bytes is plain in every code page.
bool IsPlainFileName(std::string_view name, const LeadBytes& leadBytes);

}  // namespace quillmere
