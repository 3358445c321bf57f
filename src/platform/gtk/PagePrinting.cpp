#include "platform/gtk/PagePrinting.h"

#include <string>

namespace quillmere {

namespace {

// The file printer is a safety net for tests; a print that never ends must not hang them.
constexpr guint kPrintToFileLimitSeconds = 120;

struct FilePrintWait {
    GMainLoop* loop = nullptr;
    bool finished = false;
    bool tooLong = false;
};

void OnFilePrintFinished(WebKitPrintOperation*, gpointer data) {
    auto* wait = static_cast<FilePrintWait*>(data);
    wait->finished = true;
    g_main_loop_quit(wait->loop);
}

gboolean OnFilePrintTooLong(gpointer data) {
    auto* wait = static_cast<FilePrintWait*>(data);
    wait->tooLong = true;
    g_main_loop_quit(wait->loop);
    return G_SOURCE_REMOVE;
}

void ReleaseWhenFinished(WebKitPrintOperation* operation, gpointer) { g_object_unref(operation); }

std::string FileUri(const char* path) {
    gchar* absolute = g_canonicalize_filename(path, nullptr);
    gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
    std::string out = uri ? uri : "";
    g_free(uri);
    g_free(absolute);
    return out;
}

// Returns false when the print is still running after the limit.
bool PrintToFile(WebKitPrintOperation* operation, const char* path) {
    const std::string uri = FileUri(path);
    if (uri.empty()) return true;
    GtkPrintSettings* settings = gtk_print_settings_new();
    gtk_print_settings_set_printer(settings, "Print to File");
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, uri.c_str());
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    webkit_print_operation_set_print_settings(operation, settings);
    g_object_unref(settings);

    FilePrintWait wait;
    wait.loop = g_main_loop_new(nullptr, FALSE);
    // "finished" also follows "failed".
    const gulong handler =
        g_signal_connect(operation, "finished", G_CALLBACK(OnFilePrintFinished), &wait);
    const guint limit = g_timeout_add_seconds(kPrintToFileLimitSeconds, OnFilePrintTooLong, &wait);
    webkit_print_operation_print(operation);
    if (!wait.finished) g_main_loop_run(wait.loop);
    if (!wait.tooLong) g_source_remove(limit);
    g_signal_handler_disconnect(operation, handler);
    g_main_loop_unref(wait.loop);
    return wait.finished;
}

}  // namespace

void PrintPage(WebKitWebView* view, GtkWindow* parent) {
    WebKitPrintOperation* operation = webkit_print_operation_new(view);
    const char* file = g_getenv(kPrintToFileVariable);
    if (file != nullptr && *file != '\0') {
        if (PrintToFile(operation, file)) {
            g_object_unref(operation);
        } else {
            g_signal_connect(operation, "finished", G_CALLBACK(ReleaseWhenFinished), nullptr);
        }
        return;
    }
    if (webkit_print_operation_run_dialog(operation, parent) ==
        WEBKIT_PRINT_OPERATION_RESPONSE_PRINT) {
        // Printing goes on after the dialog; the operation is released when it ends.
        g_signal_connect(operation, "finished", G_CALLBACK(ReleaseWhenFinished), nullptr);
    } else {
        g_object_unref(operation);
    }
}

}  // namespace quillmere
