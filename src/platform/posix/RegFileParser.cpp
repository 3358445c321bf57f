#include "platform/posix/RegFileParser.h"

#include <algorithm>
#include <optional>

namespace quillmere {

namespace {

constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";
constexpr std::string_view kVersion4Header = "REGEDIT4";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(s[i]) != Lower(prefix[i])) return false;
    }
    return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    return value;
}

// Reads a quoted string starting at s[0] == '"'; on success `rest` is what follows the closing
// quote. Only \\ and \" are escapes; any other backslash stands for itself.
std::optional<std::string> ReadQuoted(std::string_view s, std::string_view& rest) {
    std::string out;
    for (std::size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            rest = s.substr(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            out.push_back(s[++i]);
            continue;
        }
        out.push_back(c);
    }
    return std::nullopt;
}

// "01,ff, 2" and the like; a trailing comma is allowed. One pass: pictures make these long.
std::optional<std::string> ParseHexList(std::string_view list) {
    std::string bytes;
    bytes.reserve(list.size() / 3 + 1);
    std::size_t i = 0;
    const std::size_t n = list.size();
    auto skipSpace = [&] {
        while (i < n && IsSpace(list[i])) ++i;
    };
    skipSpace();
    while (i < n) {
        int high = HexDigit(list[i]);
        if (high < 0) return std::nullopt;
        ++i;
        int value = high;
        if (i < n) {
            int low = HexDigit(list[i]);
            if (low >= 0) {
                value = high * 16 + low;
                ++i;
            }
        }
        bytes.push_back(static_cast<char>(value));
        skipSpace();
        if (i == n) break;
        if (list[i] != ',') return std::nullopt;
        ++i;
        skipSpace();
    }
    return bytes;
}

// Fills the data of a Value entry from the text after '='; false when it is not understood.
bool ParseData(std::string_view data, RegEntry& entry) {
    data = Trim(data);
    if (data == "-") {
        entry.deletes = true;
        return true;
    }
    if (!data.empty() && data.front() == '"') {
        std::string_view rest;
        auto text = ReadQuoted(data, rest);
        if (!text || !Trim(rest).empty()) return false;
        entry.type = 1;
        entry.data = std::move(*text);
        entry.quoted = true;
        return true;
    }
    if (StartsWithNoCase(data, "dword:")) {
        auto value = ParseHexNumber(Trim(data.substr(6)), 8);
        if (!value) return false;
        entry.type = 4;
        entry.data.clear();
        for (int i = 0; i < 4; ++i) entry.data.push_back(static_cast<char>(*value >> (8 * i)));
        return true;
    }
    if (StartsWithNoCase(data, "hex:")) {
        entry.type = 3;
        data.remove_prefix(4);
    } else if (StartsWithNoCase(data, "hex(")) {
        std::size_t close = data.find("):");
        if (close == std::string_view::npos) return false;
        auto type = ParseHexNumber(data.substr(4, close - 4), 8);
        if (!type) return false;
        entry.type = *type;
        data.remove_prefix(close + 2);
    } else {
        return false;
    }
    auto bytes = ParseHexList(data);
    if (!bytes) return false;
    entry.data = std::move(*bytes);
    return true;
}

std::vector<RegLine> SplitLines(std::string_view text) {
    std::vector<RegLine> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        if (nl == std::string_view::npos) {
            lines.push_back({std::string(text.substr(start)), ""});
            break;
        }
        std::size_t end = nl;
        bool crlf = end > start && text[end - 1] == '\r';
        if (crlf) --end;
        lines.push_back({std::string(text.substr(start, end - start)), crlf ? "\r\n" : "\n"});
        start = nl + 1;
    }
    return lines;
}

}  // namespace

RegDocument ParseRegText(std::string_view text) {
    RegDocument doc;
    doc.lines = SplitLines(text);
    int version = 5;
    std::size_t i = 0;
    while (i < doc.lines.size()) {
        RegEntry entry;
        entry.firstLine = i;
        entry.endLine = i + 1;
        std::string_view trimmed = Trim(doc.lines[i].text);
        if (trimmed.empty() || trimmed.front() == ';') {
            entry.kind = RegEntryKind::Other;
        } else if (trimmed == kVersion5Header || EqualsNoCase(trimmed, kVersion4Header)) {
            entry.kind = RegEntryKind::Header;
            version = trimmed == kVersion5Header ? 5 : 4;
            entry.version = version;
        } else if (trimmed.front() == '[') {
            // A broken header still ends the section before it; its own values go nowhere.
            entry.kind = RegEntryKind::Section;
            if (trimmed.size() >= 2 && trimmed.back() == ']') {
                std::string_view path = trimmed.substr(1, trimmed.size() - 2);
                if (!path.empty() && path.front() == '-') {
                    entry.deletes = true;
                    path.remove_prefix(1);
                }
                entry.keyPath = std::string(Trim(path));
            }
        } else if (trimmed.front() == '"' || trimmed.front() == '@') {
            entry.kind = RegEntryKind::Garbled;
            std::string_view rest;
            std::optional<std::string> name;
            if (trimmed.front() == '@') {
                name = std::string();
                rest = trimmed.substr(1);
            } else {
                name = ReadQuoted(trimmed, rest);
            }
            rest = Trim(rest);
            if (name && !rest.empty() && rest.front() == '=') {
                std::string data(Trim(rest.substr(1)));
                // Hex lists go on over lines that end with a backslash; one at the very end of
                // the file just ends the list. Only a line's own last byte counts, so a blank
                // line always ends the list, whatever came before it.
                if (StartsWithNoCase(data, "hex")) {
                    bool continues = ContinuesOnNextLine(data);
                    while (continues) {
                        data.pop_back();
                        if (entry.endLine == doc.lines.size()) break;
                        const std::string_view next = Trim(doc.lines[entry.endLine].text);
                        continues = ContinuesOnNextLine(next);
                        data += next;
                        ++entry.endLine;
                    }
                }
                entry.name = std::move(*name);
                entry.version = version;
                if (ParseData(data, entry)) entry.kind = RegEntryKind::Value;
            }
        } else {
            entry.kind = RegEntryKind::Garbled;
        }
        i = entry.endLine;
        doc.entries.push_back(std::move(entry));
    }
    return doc;
}

std::string RenderRegLines(const std::vector<RegLine>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

bool ContinuesOnNextLine(std::string_view line) {
    line = Trim(line);
    return !line.empty() && line.back() == '\\';
}

std::string QuoteRegName(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '\\' || c == '"') quoted.push_back('\\');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

}  // namespace quillmere
