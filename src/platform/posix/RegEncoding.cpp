#include "platform/posix/RegEncoding.h"

#include <glib.h>

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

// glib stops at a zero unit or byte, so text holding zeros (lists of strings) goes run by run.
std::optional<std::string> Utf16RunToUtf8(const char16_t* units, std::size_t count) {
    if (count == 0) return std::string();
    glong written = 0;
    GPtr<gchar> utf8(g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(units),
                                     static_cast<glong>(count), nullptr, &written, nullptr));
    if (!utf8) return std::nullopt;
    return std::string(utf8.get(), static_cast<std::size_t>(written));
}

std::optional<std::string> Utf16LeToUtf8(std::string_view bytes) {
    // A stray odd byte at the end carries no character.
    std::size_t count = bytes.size() / 2;
    std::u16string wide(count, u'\0');
    for (std::size_t i = 0; i < count; ++i) {
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    std::string result;
    std::size_t start = 0;
    while (start <= count) {
        std::size_t end = wide.find(u'\0', start);
        if (end == std::u16string::npos) end = count;
        auto run = Utf16RunToUtf8(wide.data() + start, end - start);
        if (!run) return std::nullopt;
        result += *run;
        if (end == count) break;
        result.push_back('\0');
        start = end + 1;
    }
    return result;
}

std::optional<std::string> Utf8ToUtf16Le(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\0', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) {
            glong units = 0;
            GPtr<gunichar2> wide(g_utf8_to_utf16(
                text.data() + start, static_cast<glong>(end - start), nullptr, &units, nullptr));
            if (!wide) return std::nullopt;
            for (glong i = 0; i < units; ++i) {
                bytes.push_back(static_cast<char>(wide.get()[i] & 0xFF));
                bytes.push_back(static_cast<char>(wide.get()[i] >> 8));
            }
        }
        if (end == text.size()) break;
        bytes.append(2, '\0');
        start = end + 1;
    }
    return bytes;
}

}  // namespace

std::optional<RegText> DecodeRegFile(std::string bytes) {
    std::string_view view = bytes;
    if (view.starts_with(kUtf16LeBom) || LooksLikeUtf16WithoutBom(view)) {
        if (view.starts_with(kUtf16LeBom)) view.remove_prefix(kUtf16LeBom.size());
        auto text = Utf16LeToUtf8(view);
        if (!text) return std::nullopt;
        return RegText{RegEncoding::Utf16Le, std::move(*text)};
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

std::string RegTextToAnsi(std::string_view text, RegEncoding encoding) {
    if (encoding == RegEncoding::Ansi || LocaleIsUtf8()) return std::string(text);
    gsize written = 0;
    GPtr<gchar> converted(g_convert_with_fallback(text.data(), static_cast<gssize>(text.size()),
                                                  LocaleCharset(), "UTF-8", "?", nullptr, &written,
                                                  nullptr));
    if (!converted) return std::string(text);
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
    auto utf8 = Utf16LeToUtf8(bytes);
    if (!utf8) return std::string(bytes);
    return RegTextToAnsi(*utf8, RegEncoding::Utf8Bom);
}

}  // namespace quillmere
