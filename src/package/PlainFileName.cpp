#include "package/PlainFileName.h"

#include <array>

namespace quillmere {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows opens a device for these whatever follows the first dot, and drops blanks before it.
bool IsWindowsDeviceName(std::string_view name) {
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    if (stem.size() != 3 && stem.size() != 4) return false;
    std::array<char, 4> upper{};
    for (std::size_t i = 0; i < stem.size(); ++i) upper[i] = UpperAscii(stem[i]);
    const std::string_view word(upper.data(), 3);
    if (stem.size() == 3) return word == "CON" || word == "PRN" || word == "AUX" || word == "NUL";
    return (word == "COM" || word == "LPT") && upper[3] >= '1' && upper[3] <= '9';
}

// '/', ':' and the zero byte are below every code page's trail bytes, so they count wherever they
// stand; only the backslash needs the walk over characters.
bool HasFolderOrDrivePart(std::string_view name, const LeadBytes& leadBytes) {
    if (name.find_first_of(std::string_view("/:\0", 3)) != std::string_view::npos) return true;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\') return true;
        if (leadBytes.IsLead(static_cast<unsigned char>(name[i]))) ++i;  // over its trail byte
    }
    return false;
}

}  // namespace

bool IsPlainFileName(std::string_view name, const LeadBytes& leadBytes) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    return !HasFolderOrDrivePart(name, leadBytes) && !IsWindowsDeviceName(name);
}

}  // namespace quillmere
