#include "platform/gtk/GtkMainWindow.h"

#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <cstdio>
#include <exception>

#include "platform/gtk/BookWebView.h"
#include "platform/gtk/GtkText.h"
#include "platform/gtk/PagePrinting.h"

namespace quillmere {

namespace {

// The size the window takes when it is not maximised.
constexpr int kNormalWidth = 1024;
constexpr int kNormalHeight = 768;

bool WindowManagerMaximizes(GtkWindow* window) {
#ifdef GDK_WINDOWING_X11
    GdkScreen* screen = gtk_window_get_screen(window);
    if (GDK_IS_X11_SCREEN(screen)) {
        return gdk_x11_screen_supports_net_wm_hint(
            screen, gdk_atom_intern_static_string("_NET_WM_STATE_MAXIMIZED_VERT"));
    }
#endif
    (void)window;
    return true;  // other displays always have a compositor that manages windows
}

GdkMonitor* MonitorOf(GtkWindow* window) {
    GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(window));
    if (GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window))) {
        if (GdkMonitor* monitor = gdk_display_get_monitor_at_window(display, gdkWindow)) {
            return monitor;
        }
    }
    if (GdkMonitor* primary = gdk_display_get_primary_monitor(display)) return primary;
    return gdk_display_get_monitor(display, 0);
}

std::string UriForTarget(const std::string& target, const char* charset) {
    // A local path, full or not, becomes a file URI; anything with a scheme is an address.
    if (target.empty() || target[0] == '/' || g_uri_peek_scheme(target.c_str()) == nullptr) {
        gchar* absolute = g_canonicalize_filename(target.c_str(), nullptr);
        gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
        std::string out = uri ? uri : "";
        g_free(uri);
        g_free(absolute);
        return out;
    }
    return ToUtf8(target, charset);
}

}  // namespace

GtkMainWindow::GtkMainWindow(const FrameDescription& frame, ViewEvents& events,
                             std::shared_ptr<GtkShared> shared)
    : events_(events), shared_(std::move(shared)), menuCommand_(frame.menuItemCommand) {
    window_ = GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    gtk_window_set_title(window_, ToUtf8(frame.defaultCaption, shared_->Charset()).c_str());
    gtk_window_set_default_size(window_, kNormalWidth, kNormalHeight);
    gtk_window_set_position(window_, GTK_WIN_POS_CENTER);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_add(GTK_CONTAINER(window_), box);

    // One command directly on the bar, with no drop-down.
    menuBar_ = gtk_menu_bar_new();
    menuItem_ =
        gtk_menu_item_new_with_label(ToUtf8(frame.menuItemLabel, shared_->Charset()).c_str());
    gtk_menu_shell_append(GTK_MENU_SHELL(menuBar_), menuItem_);
    gtk_box_pack_start(GTK_BOX(box), menuBar_, FALSE, FALSE, 0);

    view_ = CreateBookWebView(shared_->Charset());
    gtk_box_pack_start(GTK_BOX(box), GTK_WIDGET(view_), TRUE, TRUE, 0);
    findBar_ = std::make_unique<FindBar>(view_);
    gtk_box_pack_end(GTK_BOX(box), findBar_->Widget(), FALSE, FALSE, 0);
    navigation_ = std::make_unique<NavigationReporter>(view_, events_);
    contextMenu_ = std::make_unique<ViewerContextMenu>(
        view_, ToUtf8(frame.menuItemLabel, shared_->Charset()), menuCommand_,
        [this](int command) { SendCommand(command); });
    downloads_ = std::make_unique<DownloadRefusal>(view_, [this] { ReportDownloadRefused(); });
    scriptDialogs_ = std::make_unique<ScriptDialogs>(view_, window_);
    navigation_->StartWebProcess();

    g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(OnWindowState), this);
    g_signal_connect(menuBar_, "button-release-event", G_CALLBACK(OnMenuBarRelease), this);
    g_signal_connect(menuItem_, "activate", G_CALLBACK(OnMenuItemActivate), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
    g_signal_connect(view_, "button-press-event", G_CALLBACK(OnViewButton), this);
    g_signal_connect(view_, "button-release-event", G_CALLBACK(OnViewButton), this);
    g_signal_connect(view_, "scroll-event", G_CALLBACK(OnViewScroll), this);

    shared_->mainWindow = window_;
}

GtkMainWindow::~GtkMainWindow() {
    if (ownPageLoad_ != 0) g_source_remove(ownPageLoad_);
    findBar_.reset();
    scriptDialogs_.reset();
    downloads_.reset();
    contextMenu_.reset();
    navigation_.reset();
    g_signal_handlers_disconnect_by_data(view_, this);
    g_signal_handlers_disconnect_by_data(window_, this);
    g_signal_handlers_disconnect_by_data(menuBar_, this);
    g_signal_handlers_disconnect_by_data(menuItem_, this);
    if (shared_->mainWindow == window_) shared_->mainWindow = nullptr;
    gtk_widget_destroy(GTK_WIDGET(window_));
}

bool GtkMainWindow::GetShowState(ShowState& state) {
    if (!gtk_widget_get_mapped(GTK_WIDGET(window_))) {
        state = requested_;
    } else if (observed_ & GDK_WINDOW_STATE_ICONIFIED) {
        state = ShowState::Minimized;
    } else if ((observed_ & GDK_WINDOW_STATE_MAXIMIZED) || coversWorkArea_) {
        state = ShowState::Maximized;
    } else {
        state = ShowState::Normal;
    }
    return true;
}

void GtkMainWindow::SetShowState(ShowState state) {
    requested_ = state;
    switch (state) {
        case ShowState::Maximized:
            gtk_window_deiconify(window_);
            Maximize();
            break;
        case ShowState::Minimized:
            gtk_window_iconify(window_);
            break;
        case ShowState::Normal:
            gtk_window_deiconify(window_);
            gtk_window_unmaximize(window_);
            if (coversWorkArea_) {
                coversWorkArea_ = false;
                gtk_window_resize(window_, kNormalWidth, kNormalHeight);
            }
            break;
    }
}

void GtkMainWindow::Maximize() {
    gtk_window_maximize(window_);
    if (!WindowManagerMaximizes(window_)) CoverWorkArea();
}

void GtkMainWindow::CoverWorkArea() {
    GdkMonitor* monitor = MonitorOf(window_);
    if (monitor == nullptr) return;
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    gtk_window_move(window_, area.x, area.y);
    gtk_window_resize(window_, area.width, area.height);
    coversWorkArea_ = true;
}

void GtkMainWindow::Show() { gtk_widget_show_all(GTK_WIDGET(window_)); }

void GtkMainWindow::Update() { gdk_display_flush(gtk_widget_get_display(GTK_WIDGET(window_))); }

void GtkMainWindow::SetCaption(const std::string& caption) {
    gtk_window_set_title(window_, ToUtf8(caption, shared_->Charset()).c_str());
}

void GtkMainWindow::BringToForeground() { gtk_window_present(window_); }

void GtkMainWindow::Navigate(const std::string& target) {
    const std::string uri = UriForTarget(target, shared_->Charset());
    if (!uri.empty()) webkit_web_view_load_uri(view_, uri.c_str());
}

void GtkMainWindow::GoBack() { webkit_web_view_go_back(view_); }

void GtkMainWindow::GoForward() { webkit_web_view_go_forward(view_); }

void GtkMainWindow::PrintCurrentPage() { PrintPage(view_, window_); }

void GtkMainWindow::ShowOwnPage(const std::string& html) {
    ownPage_ = ToUtf8(html, shared_->Charset());
    if (ownPageLoad_ == 0) ownPageLoad_ = g_idle_add(LoadOwnPage, this);
}

gboolean GtkMainWindow::LoadOwnPage(gpointer self) {
    auto* window = static_cast<GtkMainWindow*>(self);
    window->ownPageLoad_ = 0;
    // An address of its own makes it a step in the history, so that Back leaves it.
    gchar* encoded = g_base64_encode(reinterpret_cast<const guchar*>(window->ownPage_.data()),
                                     window->ownPage_.size());
    const std::string uri = std::string("data:text/html;charset=utf-8;base64,") + encoded;
    g_free(encoded);
    webkit_web_view_load_uri(window->view_, uri.c_str());
    return G_SOURCE_REMOVE;
}

void GtkMainWindow::SetZoom(int percent) { webkit_web_view_set_zoom_level(view_, percent / 100.0); }

void GtkMainWindow::ReportDownloadRefused() {
    try {
        events_.OnDownloadRefused();
    } catch (const std::exception& error) {
        g_warning("refused download not reported: %s", error.what());
    } catch (...) {
        g_warning("refused download not reported");
    }
}

void GtkMainWindow::SendCommand(int command) {
    try {
        events_.OnCommand(command);
    } catch (const std::exception& error) {
        // Nothing may unwind through GTK.
        g_warning("command %d not handled: %s", command, error.what());
    } catch (...) {
        g_warning("command %d not handled", command);
    }
}

gboolean GtkMainWindow::OnDelete(GtkWidget* widget, GdkEvent*, gpointer) {
    // The reader sees the window go at once; the clean-up after the loop needs no window.
    gtk_widget_hide(widget);
    if (gtk_main_level() > 0) gtk_main_quit();
    return TRUE;
}

void GtkMainWindow::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer) {
    // Start-up timing for the benchmark: the monotonic clock at each finished load.
    const char* file = g_getenv(kLoadTimesVariable);
    if (event != WEBKIT_LOAD_FINISHED || file == nullptr) return;
    if (FILE* out = std::fopen(file, "a")) {
        static_cast<void>(std::fprintf(out, "load-finished %lld\n",
                                       static_cast<long long>(g_get_monotonic_time()) * 1000LL));
        static_cast<void>(std::fclose(out));
    }
}

int GtkMainWindow::ControlKeyCommand(guint keyval) {
    switch (keyval) {
        case GDK_KEY_p:
        case GDK_KEY_P:
            return kCommandPrint;
        case GDK_KEY_plus:
        case GDK_KEY_equal:
        case GDK_KEY_KP_Add:
            return kCommandZoomIn;
        case GDK_KEY_minus:
        case GDK_KEY_underscore:
        case GDK_KEY_KP_Subtract:
            return kCommandZoomOut;
        case GDK_KEY_0:
        case GDK_KEY_KP_0:
        case GDK_KEY_KP_Insert:
            return kCommandZoomReset;
        default:
            return 0;
    }
}

gboolean GtkMainWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* window = static_cast<GtkMainWindow*>(self);
    const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    // Shift is how many keyboards reach '+'.
    if (event->keyval == GDK_KEY_F3 && (modifiers & ~GDK_SHIFT_MASK) == 0) {
        FindBar& find = *window->findBar_;
        if (!find.IsOpen()) {
            find.Open();
        } else if (modifiers & GDK_SHIFT_MASK) {
            find.Previous();
        } else {
            find.Next();
        }
        return TRUE;
    }
    if (modifiers == GDK_CONTROL_MASK &&
        (event->keyval == GDK_KEY_f || event->keyval == GDK_KEY_F)) {
        window->findBar_->Open();
        return TRUE;
    }
    if ((modifiers & ~GDK_SHIFT_MASK) == GDK_CONTROL_MASK) {
        const int command = ControlKeyCommand(event->keyval);
        if (command == 0) return FALSE;
        window->SendCommand(command);
        return TRUE;
    }
    if (modifiers != GDK_MOD1_MASK) return FALSE;
    int command = 0;
    switch (event->keyval) {
        case GDK_KEY_Left:
        case GDK_KEY_KP_Left:
            command = kCommandBack;
            break;
        case GDK_KEY_Right:
        case GDK_KEY_KP_Right:
            command = kCommandForward;
            break;
        case GDK_KEY_Home:
        case GDK_KEY_KP_Home:
            command = kCommandHome;
            break;
        default:
            return FALSE;
    }
    window->SendCommand(command);
    return TRUE;
}

gboolean GtkMainWindow::OnViewButton(GtkWidget*, GdkEventButton* event, gpointer self) {
    // The side buttons of a mouse: 8 is back, 9 forward. Both halves of the click are taken, so
    // the page sees neither.
    if (event->button != 8 && event->button != 9) return FALSE;
    if (event->type == GDK_BUTTON_PRESS) {
        static_cast<GtkMainWindow*>(self)->SendCommand(event->button == 8 ? kCommandBack
                                                                          : kCommandForward);
    }
    return TRUE;
}

gboolean GtkMainWindow::OnViewScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
    if ((event->state & gtk_accelerator_get_default_mod_mask()) != GDK_CONTROL_MASK) return FALSE;
    double dy = 0;
    if (event->direction == GDK_SCROLL_UP) dy = -1;
    if (event->direction == GDK_SCROLL_DOWN) dy = 1;
    if (event->direction == GDK_SCROLL_SMOOTH) dy = event->delta_y;
    if (dy != 0) {
        static_cast<GtkMainWindow*>(self)->SendCommand(dy < 0 ? kCommandZoomIn : kCommandZoomOut);
    }
    return TRUE;
}

gboolean GtkMainWindow::OnMenuBarRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* window = static_cast<GtkMainWindow*>(self);
    // A quick click on an item without a drop-down would only highlight it; one click must be
    // enough to run the command.
    GtkWidget* under = gtk_get_event_widget(reinterpret_cast<GdkEvent*>(event));
    const bool onItem = under != nullptr && (under == window->menuItem_ ||
                                             gtk_widget_is_ancestor(under, window->menuItem_));
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(window->menuBar_));
    if (event->button == GDK_BUTTON_PRIMARY && onItem) {
        gtk_menu_item_activate(GTK_MENU_ITEM(window->menuItem_));
    }
    return TRUE;
}

void GtkMainWindow::OnMenuItemActivate(GtkMenuItem*, gpointer self) {
    auto* window = static_cast<GtkMainWindow*>(self);
    window->SendCommand(window->menuCommand_);
}

gboolean GtkMainWindow::OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
    static_cast<GtkMainWindow*>(self)->observed_ = event->new_window_state;
    return FALSE;
}

}  // namespace quillmere
