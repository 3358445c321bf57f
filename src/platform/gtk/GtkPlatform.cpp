#include "platform/gtk/GtkPlatform.h"

#include <gtk/gtk.h>

#include "platform/gtk/AppIcon.h"
#include "platform/posix/CodePages.h"

namespace quillmere {

GtkServices::GtkServices(std::shared_ptr<GtkShared> shared)
    : shared_(shared), dialogs_(shared), windowing_(shared) {}

std::unique_ptr<GtkServices> GtkServices::Start(System& system) {
    if (g_get_prgname() == nullptr) g_set_prgname("quillmere");
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;

    GList* icons = DrawAppIcons();
    gtk_window_set_default_icon_list(icons);
    g_list_free_full(icons, g_object_unref);

    auto shared = std::make_shared<GtkShared>();
    if (const char* charset = CharsetNameForCodePage(system.AnsiCodePage())) {
        shared->charset = charset;
    }
    return std::unique_ptr<GtkServices>(new GtkServices(std::move(shared)));
}

}  // namespace quillmere
