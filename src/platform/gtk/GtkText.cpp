#include "platform/gtk/GtkText.h"

#include <glib.h>

namespace quillmere {

namespace {

bool IsUtf8Name(const char* charset) {
    return charset == nullptr || g_ascii_strcasecmp(charset, "UTF-8") == 0 ||
           g_ascii_strcasecmp(charset, "UTF8") == 0;
}

std::string MadeValid(std::string_view text) {
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string out(valid);
    g_free(valid);
    return out;
}

}  // namespace

std::string ToUtf8(std::string_view text, const char* charset) {
    // GTK strings end at the first NUL, so the text does too.
    text = text.substr(0, text.find('\0'));
    if (IsUtf8Name(charset)) {
        if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
            return std::string(text);
        }
        return MadeValid(text);
    }
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        gsize read = 0;
        gsize written = 0;
        GError* error = nullptr;
        gchar* converted = g_convert(text.data() + pos, static_cast<gssize>(text.size() - pos),
                                     "UTF-8", charset, &read, &written, &error);
        if (converted != nullptr) {
            out.append(converted, written);
            g_free(converted);
            // A character cut off at the end is left unread; mark it rather than lose it.
            if (read < text.size() - pos) out.append("\xEF\xBF\xBD");
            break;
        }
        const bool badInput = error != nullptr && error->domain == G_CONVERT_ERROR &&
                              (error->code == G_CONVERT_ERROR_ILLEGAL_SEQUENCE ||
                               error->code == G_CONVERT_ERROR_PARTIAL_INPUT);
        g_clear_error(&error);
        if (!badInput) return MadeValid(text);  // unknown code page: keep what is readable
        // Convert up to the offending byte, mark it, and carry on after it.
        if (read > 0) {
            gchar* prefix = g_convert(text.data() + pos, static_cast<gssize>(read), "UTF-8",
                                      charset, nullptr, &written, nullptr);
            if (prefix != nullptr) out.append(prefix, written);
            g_free(prefix);
        }
        out.append("\xEF\xBF\xBD");
        pos += read + 1;
    }
    return out;
}

std::string WithPlainLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace quillmere
