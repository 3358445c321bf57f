#include "platform/gtk/BookWebView.h"

namespace quillmere {

WebKitWebView* CreateBookWebView(const char* defaultCharset) {
    WebKitWebContext* context = webkit_web_context_new_ephemeral();
    // Pages come from the local disk; keep as little of them in memory as possible.
    webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);

    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_enable_javascript(settings, TRUE);
    webkit_settings_set_enable_developer_extras(settings, FALSE);
    if (defaultCharset != nullptr) webkit_settings_set_default_charset(settings, defaultCharset);

    auto* view = WEBKIT_WEB_VIEW(
        g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings, nullptr));
    g_object_unref(settings);
    g_object_unref(context);
    return view;
}

}  // namespace quillmere
