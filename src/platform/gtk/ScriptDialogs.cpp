#include "platform/gtk/ScriptDialogs.h"

namespace quillmere {

ScriptDialogs::ScriptDialogs(WebKitWebView* view, GtkWindow* owner) : view_(view), owner_(owner) {
    g_signal_connect(view_, "script-dialog", G_CALLBACK(OnScriptDialog), this);
}

ScriptDialogs::~ScriptDialogs() { g_signal_handlers_disconnect_by_data(view_, this); }

gboolean ScriptDialogs::OnScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer self) {
    static_cast<ScriptDialogs*>(self)->Show(dialog);
    return TRUE;
}

void ScriptDialogs::Show(WebKitScriptDialog* dialog) {
    const WebKitScriptDialogType type = webkit_script_dialog_get_dialog_type(dialog);
    const bool alert = type == WEBKIT_SCRIPT_DIALOG_ALERT;
    GtkWidget* box = gtk_message_dialog_new(
        owner_, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
        alert ? GTK_MESSAGE_INFO : GTK_MESSAGE_QUESTION,
        alert ? GTK_BUTTONS_OK : GTK_BUTTONS_OK_CANCEL, "%s",
        webkit_script_dialog_get_message(dialog));
    const char* title = gtk_window_get_title(owner_);
    gtk_window_set_title(GTK_WINDOW(box), title ? title : "");

    GtkWidget* entry = nullptr;
    if (type == WEBKIT_SCRIPT_DIALOG_PROMPT) {
        entry = gtk_entry_new();
        gtk_entry_set_text(GTK_ENTRY(entry), webkit_script_dialog_prompt_get_default_text(dialog));
        gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
        gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
        gtk_box_pack_end(GTK_BOX(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box))),
                         entry, FALSE, FALSE, 0);
        gtk_widget_show(entry);
    }

    const bool ok = gtk_dialog_run(GTK_DIALOG(box)) == GTK_RESPONSE_OK;
    switch (type) {
        case WEBKIT_SCRIPT_DIALOG_CONFIRM:
        case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
            webkit_script_dialog_confirm_set_confirmed(dialog, ok);
            break;
        case WEBKIT_SCRIPT_DIALOG_PROMPT:
            // Cancel answers null, as in any browser.
            if (ok)
                webkit_script_dialog_prompt_set_text(dialog, gtk_entry_get_text(GTK_ENTRY(entry)));
            break;
        default:
            break;
    }
    gtk_widget_destroy(box);
}

}  // namespace quillmere
