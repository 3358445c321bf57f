#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillmere {

// How a registry file stores its text. Text is handled as 8-bit strings: UTF-8 for the Unicode
// forms, the locale's character set for files without a byte-order mark.
enum class RegEncoding {
    Ansi,     // no byte-order mark: what a text editor under the current locale writes
    Utf8Bom,  // UTF-8 with its byte-order mark
    Utf16Le,  // what Windows' registry editor writes: UTF-16LE with its byte-order mark
};

struct RegText {
    RegEncoding encoding = RegEncoding::Ansi;
    std::string text;
};

// A lone UTF-16 surrogate keeps its unit through decoding and encoding (as the three bytes a
// surrogate would take in UTF-8), so writing leaves it as it was; readers get it as U+FFFD.
std::optional<RegText> DecodeRegFile(std::string bytes);
// The file's bytes in its own encoding, byte-order mark included; nullopt for text that is not
// UTF-8 in a Unicode file.
std::optional<std::string> EncodeRegFile(const RegText& text);

// The locale's 8-bit form (the ANSI code page) of file text, characters it cannot show replaced
// by '?'.
std::string RegTextToAnsi(std::string_view text, RegEncoding encoding);
// File text for a name given in the locale's form; nullopt when it cannot be converted.
std::optional<std::string> AnsiToRegText(std::string_view ansi, RegEncoding encoding);
// Wide-string data (UTF-16LE) of a version-5 file in the locale's form; the bytes as they are
// when they are not UTF-16.
std::string RegUtf16ToAnsi(std::string_view bytes);

}  // namespace quillmere
