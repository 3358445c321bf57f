#include "platform/gtk/FindBar.h"

#include <string>

namespace quillmere {

namespace {

constexpr guint32 kFindOptions =
    WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND;

GtkWidget* IconButton(const char* icon, const char* tip) {
    GtkWidget* button = gtk_button_new_from_icon_name(icon, GTK_ICON_SIZE_BUTTON);
    gtk_widget_set_tooltip_text(button, tip);
    gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
    return button;
}

}  // namespace

FindBar::FindBar(WebKitWebView* view)
    : view_(view), find_(webkit_web_view_get_find_controller(view)) {
    bar_ = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_container_set_border_width(GTK_CONTAINER(bar_), 4);
    entry_ = gtk_search_entry_new();
    gtk_entry_set_width_chars(GTK_ENTRY(entry_), 30);
    count_ = gtk_label_new("");
    GtkWidget* previous = IconButton("go-up-symbolic", "Previous");
    GtkWidget* next = IconButton("go-down-symbolic", "Next");
    GtkWidget* close = IconButton("window-close-symbolic", "Close");
    gtk_box_pack_start(GTK_BOX(bar_), entry_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(bar_), previous, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(bar_), next, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(bar_), count_, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(bar_), close, FALSE, FALSE, 0);
    gtk_widget_show_all(bar_);
    gtk_widget_hide(bar_);
    // The window's show_all must not open it.
    gtk_widget_set_no_show_all(bar_, TRUE);

    g_signal_connect(entry_, "search-changed", G_CALLBACK(OnChanged), this);
    g_signal_connect(entry_, "activate", G_CALLBACK(OnActivate), this);
    g_signal_connect(entry_, "stop-search", G_CALLBACK(OnStop), this);
    g_signal_connect(entry_, "key-press-event", G_CALLBACK(OnEntryKey), this);
    g_signal_connect(previous, "clicked", G_CALLBACK(OnPreviousClicked), this);
    g_signal_connect(next, "clicked", G_CALLBACK(OnNextClicked), this);
    g_signal_connect(close, "clicked", G_CALLBACK(OnCloseClicked), this);
    g_signal_connect(find_, "counted-matches", G_CALLBACK(OnCounted), this);
    g_signal_connect(find_, "failed-to-find-text", G_CALLBACK(OnNotFound), this);
}

FindBar::~FindBar() { g_signal_handlers_disconnect_by_data(find_, this); }

void FindBar::Open() {
    gtk_widget_show(bar_);
    gtk_widget_grab_focus(entry_);
    gtk_editable_select_region(GTK_EDITABLE(entry_), 0, -1);
}

void FindBar::Close() {
    webkit_find_controller_search_finish(find_);
    gtk_widget_hide(bar_);
    gtk_widget_grab_focus(GTK_WIDGET(view_));
}

void FindBar::Search() {
    const std::string text = gtk_entry_get_text(GTK_ENTRY(entry_));
    matches_ = 0;
    current_ = 0;
    if (text.empty()) {
        webkit_find_controller_search_finish(find_);
        ShowCount();
        return;
    }
    webkit_find_controller_search(find_, text.c_str(), kFindOptions, G_MAXUINT);
    webkit_find_controller_count_matches(find_, text.c_str(), kFindOptions, G_MAXUINT);
}

void FindBar::Next() {
    if (matches_ == 0) return;
    current_ = current_ % matches_ + 1;
    webkit_find_controller_search_next(find_);
    ShowCount();
}

void FindBar::Previous() {
    if (matches_ == 0) return;
    current_ = current_ <= 1 ? matches_ : current_ - 1;
    webkit_find_controller_search_previous(find_);
    ShowCount();
}

void FindBar::ShowCount() {
    const std::string text = gtk_entry_get_text(GTK_ENTRY(entry_));
    std::string shown;
    if (!text.empty()) {
        shown = matches_ == 0 ? "No matches"
                              : std::to_string(current_) + " of " + std::to_string(matches_);
    }
    gtk_label_set_text(GTK_LABEL(count_), shown.c_str());
}

void FindBar::OnChanged(GtkSearchEntry*, gpointer self) { static_cast<FindBar*>(self)->Search(); }

void FindBar::OnActivate(GtkEntry*, gpointer self) { static_cast<FindBar*>(self)->Next(); }

void FindBar::OnStop(GtkSearchEntry*, gpointer self) { static_cast<FindBar*>(self)->Close(); }

gboolean FindBar::OnEntryKey(GtkWidget*, GdkEventKey* event, gpointer self) {
    const bool shift = (event->state & GDK_SHIFT_MASK) != 0;
    const bool enter = event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter;
    if (!enter || !shift) return FALSE;
    static_cast<FindBar*>(self)->Previous();
    return TRUE;
}

void FindBar::OnCounted(WebKitFindController*, guint count, gpointer self) {
    auto* bar = static_cast<FindBar*>(self);
    // The search that started the count selected the first match.
    bar->matches_ = count;
    bar->current_ = count == 0 ? 0 : 1;
    bar->ShowCount();
}

void FindBar::OnNotFound(WebKitFindController*, gpointer self) {
    auto* bar = static_cast<FindBar*>(self);
    bar->matches_ = 0;
    bar->current_ = 0;
    bar->ShowCount();
}

void FindBar::OnNextClicked(GtkButton*, gpointer self) { static_cast<FindBar*>(self)->Next(); }

void FindBar::OnPreviousClicked(GtkButton*, gpointer self) {
    static_cast<FindBar*>(self)->Previous();
}

void FindBar::OnCloseClicked(GtkButton*, gpointer self) { static_cast<FindBar*>(self)->Close(); }

}  // namespace quillmere
