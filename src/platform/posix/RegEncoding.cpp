#include "platform/posix/RegEncoding.h"

#include <glib.h>

#include <cstdint>
#include <memory>

namespace quillmere {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};
template <typename T>
using GPtr = std::unique_ptr<T, GFreeDeleter>;

bool LocaleIsUtf8() {
    const char* charset = nullptr;
    return g_get_charset(&charset);
}

const char* LocaleCharset() {
    const char* charset = nullptr;
    g_get_charset(&charset);
    return charset;
}

// Windows' editor always writes the byte-order mark; a file without it but with "W\0" or "[\0"
// at the start is UTF-16LE too.
bool LooksLikeUtf16WithoutBom(std::string_view bytes) {
    return bytes.size() >= 4 && bytes[1] == '\0' && bytes[3] == '\0' && bytes[0] != '\0' &&
           bytes[2] != '\0';
}

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// A surrogate's three-byte form: not UTF-8, but it keeps a lone unit that Windows' editor
// exported, so writing the file back leaves it as it was.
bool IsSurrogateSequence(std::string_view text, std::size_t at) {
    return at + 2 < text.size() && static_cast<unsigned char>(text[at]) == 0xED &&
           static_cast<unsigned char>(text[at + 1]) >= 0xA0;
}

// Zero units stay zero bytes (lists of strings). Never fails: a lone surrogate keeps its place.
std::string Utf16LeToUtf8(std::string_view bytes) {
    // A stray odd byte at the end carries no character.
    const std::size_t count = bytes.size() / 2;
    auto unitAt = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    std::string result;
    result.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(unitAt(i + 1))) {
            AppendUtf8(result, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else {
            AppendUtf8(result, unit);
        }
    }
    return result;
}

// The length of the UTF-8 sequence (or kept surrogate) at `at`, 0 when it is not one.
std::size_t SequenceLength(std::string_view text, std::size_t at, std::uint32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF) return 0;
    return length;
}

// nullopt when the text is neither UTF-8 nor kept surrogates.
std::optional<std::string> Utf8ToUtf16Le(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    const auto put = [&](std::uint32_t unit) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    };
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code = 0;
        const std::size_t length = SequenceLength(text, at, code);
        if (length == 0) return std::nullopt;
        if (code >= 0x10000) {
            put(0xD800 + ((code - 0x10000) >> 10));
            put(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put(code);
        }
        at += length;
    }
    return bytes;
}

// File text as readers get it: every kept surrogate becomes the replacement character.
std::string WithoutSurrogates(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (IsSurrogateSequence(text, at)) {
            out += kReplacementUtf8;
            at += 3;
        } else {
            out.push_back(text[at++]);
        }
    }
    return out;
}

}  // namespace

std::optional<RegText> DecodeRegFile(std::string bytes) {
    std::string_view view = bytes;
    if (view.starts_with(kUtf16LeBom) || LooksLikeUtf16WithoutBom(view)) {
        if (view.starts_with(kUtf16LeBom)) view.remove_prefix(kUtf16LeBom.size());
        return RegText{RegEncoding::Utf16Le, Utf16LeToUtf8(view)};
    }
    if (view.starts_with(kUtf8Bom)) {
        bytes.erase(0, kUtf8Bom.size());
        return RegText{RegEncoding::Utf8Bom, std::move(bytes)};
    }
    return RegText{RegEncoding::Ansi, std::move(bytes)};
}

std::optional<std::string> EncodeRegFile(const RegText& text) {
    switch (text.encoding) {
        case RegEncoding::Utf16Le: {
            auto wide = Utf8ToUtf16Le(text.text);
            if (!wide) return std::nullopt;
            return std::string(kUtf16LeBom) + *wide;
        }
        case RegEncoding::Utf8Bom:
            return std::string(kUtf8Bom) + text.text;
        case RegEncoding::Ansi:
            break;
    }
    return text.text;
}

std::string RegTextToAnsi(std::string_view rawText, RegEncoding encoding) {
    if (encoding == RegEncoding::Ansi) return std::string(rawText);
    std::string text = WithoutSurrogates(rawText);
    if (LocaleIsUtf8()) return text;
    gsize written = 0;
    GPtr<gchar> converted(g_convert_with_fallback(text.data(), static_cast<gssize>(text.size()),
                                                  LocaleCharset(), "UTF-8", "?", nullptr, &written,
                                                  nullptr));
    if (!converted) return text;
    return std::string(converted.get(), written);
}

std::optional<std::string> AnsiToRegText(std::string_view ansi, RegEncoding encoding) {
    if (encoding == RegEncoding::Ansi) return std::string(ansi);
    if (LocaleIsUtf8()) {
        if (!g_utf8_validate(ansi.data(), static_cast<gssize>(ansi.size()), nullptr)) {
            return std::nullopt;
        }
        return std::string(ansi);
    }
    gsize written = 0;
    GPtr<gchar> converted(g_convert(ansi.data(), static_cast<gssize>(ansi.size()), "UTF-8",
                                    LocaleCharset(), nullptr, &written, nullptr));
    if (!converted) return std::nullopt;
    return std::string(converted.get(), written);
}

std::string RegUtf16ToAnsi(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::string(bytes);
    return RegTextToAnsi(Utf16LeToUtf8(bytes), RegEncoding::Utf8Bom);
}

}  // namespace quillmere
