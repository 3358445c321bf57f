#include "platform/linux/GioShell.h"

#include <gio/gio.h>
#include <sys/stat.h>

#include <memory>
#include <string_view>

namespace quillmere {

namespace {

struct GObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectDeleter>;

struct GFreeDeleter {
    void operator()(gpointer memory) const { g_free(memory); }
};
using OwnedText = std::unique_ptr<gchar, GFreeDeleter>;

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return g_ascii_strncasecmp(text.data() + text.size() - suffix.size(), suffix.data(),
                               suffix.size()) == 0;
}

// The file's content type by its name. Without a MIME database every name guesses as unknown,
// so web pages keep their type by extension.
std::string ContentTypeFor(const std::string& path) {
    gboolean uncertain = FALSE;
    OwnedText guessed(g_content_type_guess(path.c_str(), nullptr, 0, &uncertain));
    const bool unknown = !guessed || g_content_type_is_unknown(guessed.get());
    if (unknown && (EndsWithNoCase(path, ".html") || EndsWithNoCase(path, ".htm"))) {
        return "text/html";
    }
    return guessed ? std::string(guessed.get()) : std::string("application/octet-stream");
}

}  // namespace

std::intptr_t GioShell::OpenWithDefaultProgram(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) return kShellFileNotFound;

    GObjectPtr<GAppInfo> handler(
        g_app_info_get_default_for_type(ContentTypeFor(path).c_str(), FALSE));
    if (!handler) return kShellNoAssociation;

    GObjectPtr<GFile> file(g_file_new_for_path(path.c_str()));
    GList files{};
    files.data = file.get();
    GError* error = nullptr;
    const gboolean launched = g_app_info_launch(handler.get(), &files, nullptr, &error);
    if (error != nullptr) g_error_free(error);
    return launched ? kShellOpened : kShellAccessDenied;
}

bool GioShell::OpenAddressWithDefaultProgram(const std::string& address) {
    OwnedText scheme(g_uri_parse_scheme(address.c_str()));
    if (!scheme) return false;
    GObjectPtr<GAppInfo> handler(g_app_info_get_default_for_uri_scheme(scheme.get()));
    if (!handler) return false;

    GList uris{};
    uris.data = const_cast<char*>(address.c_str());
    GError* error = nullptr;
    const gboolean launched = g_app_info_launch_uris(handler.get(), &uris, nullptr, &error);
    if (error != nullptr) g_error_free(error);
    return launched != FALSE;
}

}  // namespace quillmere
