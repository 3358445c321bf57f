#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// One physical line of a registry file and the line break that ended it ("" for the last line).
struct RegLine {
    std::string text;
    std::string ending;
};

enum class RegEntryKind {
    Other,    // blank line or "; comment"
    Header,   // "Windows Registry Editor Version 5.00" or "REGEDIT4"
    Section,  // "[KEY]" or "[-KEY]"
    Value,    // "name"=data, @=data, "name"=-
    Garbled,  // anything else: skipped
};

// What a run of lines means. A value whose hex list continues with a trailing backslash spans
// several lines.
struct RegEntry {
    RegEntryKind kind = RegEntryKind::Other;
    std::size_t firstLine = 0;
    std::size_t endLine = 0;  // one past the last line

    int version = 5;         // Header, and the header in force for a Value
    std::string keyPath;     // Section: the path as written; "" when the header is broken
    bool deletes = false;    // Section [-KEY] or Value =-
    std::string name;        // Value: unescaped; "" for @
    std::uint32_t type = 0;  // Value: registry type number
    std::string data;        // Value: the text of "..." (no terminating zero) or the bytes
    bool quoted = false;     // Value: data came from "..."
};

struct RegDocument {
    std::vector<RegLine> lines;
    std::vector<RegEntry> entries;
};

RegDocument ParseRegText(std::string_view text);
std::string RenderRegLines(const std::vector<RegLine>& lines);

// True when a line of a hex list goes on onto the next one: its last byte that is not white
// space is a backslash.
bool ContinuesOnNextLine(std::string_view line);

// A value name in quotes as the file writes it, with \ and " escaped.
std::string QuoteRegName(std::string_view name);

}  // namespace quillmere
