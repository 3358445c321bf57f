#include "navigation/LocalAddress.h"

#include <cctype>

namespace quillmere {

namespace {

constexpr std::string_view kFileScheme = "file";
constexpr std::string_view kThisComputer = "localhost";

bool IsSchemeChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A zero byte would end the path early wherever it is used, so "%00" stays as it is written.
std::string DecodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0 && (high | low) != 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool IsDrive(std::string_view path) {
    return path.size() >= 2 && IsLetter(path[0]) && (path[1] == ':' || path[1] == '|');
}

// A file URL's path in the platform's own form: "/C:/x" is "C:\x" where '\' separates folders.
std::string NativePath(std::string path, char separator) {
    if (separator == '/') return path;
    if (path.size() >= 3 && path[0] == '/' && IsDrive(std::string_view(path).substr(1))) {
        path.erase(0, 1);
        path[1] = ':';
    }
    for (char& c : path) {
        if (c == '/') c = separator;
    }
    return path;
}

}  // namespace

std::string SchemeOf(std::string_view address) {
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon < 2 || !IsLetter(address[0])) return "";
    std::string scheme;
    for (char c : address.substr(0, colon)) {
        if (!IsSchemeChar(c)) return "";
        scheme += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return scheme;
}

std::optional<std::string> LocalPathOf(std::string_view address, const TextRules& rules) {
    const std::string scheme = SchemeOf(address);
    if (scheme.empty()) {
        const bool full = !address.empty() && (address[0] == rules.separator ||
                                               (rules.separator == '\\' && IsDrive(address)));
        if (!full) return std::nullopt;
        return std::string(address);
    }
    if (scheme != kFileScheme) return std::nullopt;

    std::string_view rest = address.substr(scheme.size() + 1);
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string host;
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        host = std::string(rest.substr(0, slash));
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    std::string path = NativePath(DecodeEscapes(rest), rules.separator);
    if (!host.empty() && !EqualsAsciiNoCase(host, kThisComputer)) {
        // Another computer's share: never a path inside this one's folders.
        std::string share(2, rules.separator);
        share += DecodeEscapes(host);
        return share + path;
    }
    return path;
}

}  // namespace quillmere
