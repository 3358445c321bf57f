#include "package/PlainFileName.h"

#include "package/MultibyteText.h"

namespace quillmere {

namespace {

bool IsWord(std::string_view text, std::string_view word) {
    return EqualsIgnoringCase(text, word, LeadBytes());
}

// Windows opens a device for these whatever follows the first dot, and drops blanks before it.
bool IsWindowsDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    if (stem.size() == 3) {
        return IsWord(stem, "con") || IsWord(stem, "prn") || IsWord(stem, "aux") ||
               IsWord(stem, "nul");
    }
    if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9') return false;
    return IsWord(stem.substr(0, 3), "com") || IsWord(stem.substr(0, 3), "lpt");
}

// '/', ':' and the zero byte are below every code page's trail bytes, so they count wherever they
// stand; only the backslash needs the walk over characters.
bool HasFolderOrDrivePart(std::string_view name, const LeadBytes& leadBytes) {
    if (name.find_first_of(std::string_view("/:\0", 3)) != std::string_view::npos) return true;
    return FindText(name, "\\", 0, leadBytes) != kNotFound;
}

}  // namespace

bool IsPlainFileName(std::string_view name, const LeadBytes& leadBytes) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    return !HasFolderOrDrivePart(name, leadBytes) && !IsWindowsDeviceName(name);
}

}  // namespace quillmere
