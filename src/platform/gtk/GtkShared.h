#pragma once

#include <gtk/gtk.h>

#include <string>

namespace quillmere {

// What the GTK services share: the code page of the viewer's text, and the main window while it
// exists, so that message boxes are modal to it.
struct GtkShared {
    // Charset name of the user's code page; empty when the text is UTF-8.
    std::string charset;
    GtkWindow* mainWindow = nullptr;

    const char* Charset() const { return charset.empty() ? nullptr : charset.c_str(); }
};

}  // namespace quillmere
