#pragma once

#include <webkit2/webkit2.h>

namespace quillmere {

// A web view that keeps nothing: its context is ephemeral, so no cookies, cache or site data reach
// the user's folders. Scripts run; developer tools are off. Pages that do not name their encoding
// are read in `defaultCharset` (nullptr: WebKit's own default). The view is floating, as new GTK
// widgets are.
WebKitWebView* CreateBookWebView(const char* defaultCharset);

}  // namespace quillmere
