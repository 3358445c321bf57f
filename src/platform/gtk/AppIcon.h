#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <glib.h>

namespace quillmere {

// The application icon, a closed book with a ribbon, drawn at the sizes window managers ask
// for. The caller owns the list and its pixbufs (g_list_free_full(list, g_object_unref)).
GList* DrawAppIcons();

}  // namespace quillmere
