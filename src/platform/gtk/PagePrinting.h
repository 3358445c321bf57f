#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace quillmere {

// Set to a file path, this makes printing write that PDF file without showing the print dialog,
// so that tests can read what was printed. PrintPage then returns once the file is written.
inline constexpr const char* kPrintToFileVariable = "QUILLMERE_PRINT_TO_FILE";

// Prints the page shown in `view` with the print dialog, modal to `parent`. WebKit prints the
// page alone: no header or footer with title, address, date or page number.
void PrintPage(WebKitWebView* view, GtkWindow* parent);

}  // namespace quillmere
