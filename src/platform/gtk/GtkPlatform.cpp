#include "platform/gtk/GtkPlatform.h"

#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include "platform/gtk/AppIcon.h"
#include "platform/posix/CodePages.h"

namespace quillmere {

namespace {

#ifdef GDK_WINDOWING_X11
// Xlib's handler takes no data of ours; there is one display connection per process.
PosixLifetime* lifetimeOfDisplay = nullptr;

// Replaces GDK's handler, which ends the process at once. Must not return.
int OnDisplayLost(Display*) { lifetimeOfDisplay->StopForLostDisplay(); }
#endif

void WatchForLostDisplay(PosixLifetime& lifetime) {
#ifdef GDK_WINDOWING_X11
    if (!GDK_IS_X11_DISPLAY(gdk_display_get_default())) return;
    lifetimeOfDisplay = &lifetime;
    XSetIOErrorHandler(OnDisplayLost);
#else
    (void)lifetime;
#endif
}

}  // namespace

GtkServices::GtkServices(const std::shared_ptr<GtkShared>& shared)
    : shared_(shared), dialogs_(shared), windowing_(shared) {}

std::unique_ptr<GtkServices> GtkServices::Start(System& system, PosixLifetime* lifetime) {
    if (g_get_prgname() == nullptr) g_set_prgname("quillmere");
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;
    if (lifetime != nullptr) WatchForLostDisplay(*lifetime);

    GList* icons = DrawAppIcons();
    gtk_window_set_default_icon_list(icons);
    g_list_free_full(icons, g_object_unref);

    auto shared = std::make_shared<GtkShared>();
    if (const char* charset = CharsetNameForCodePage(system.AnsiCodePage())) {
        shared->charset = charset;
    }
    return std::unique_ptr<GtkServices>(new GtkServices(shared));
}

}  // namespace quillmere
