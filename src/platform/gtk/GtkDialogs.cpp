#include "platform/gtk/GtkDialogs.h"

#include "platform/gtk/GtkText.h"

namespace quillmere {

namespace {

GtkWindow* VisibleOwner(const GtkShared& shared) {
    GtkWindow* owner = shared.mainWindow;
    if (owner == nullptr || !gtk_widget_get_visible(GTK_WIDGET(owner))) return nullptr;
    return owner;
}

// GTK 3 message dialogs show no icon of their own; the box needs its stop or question mark.
void SetIcon(GtkMessageDialog* dialog, MessageBoxIcon icon) {
    const char* name = icon == MessageBoxIcon::Question ? "dialog-question" : "dialog-error";
    GtkWidget* image = gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG);
    gtk_widget_set_valign(image, GTK_ALIGN_START);
    gtk_widget_show(image);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_message_dialog_set_image(dialog, image);
    G_GNUC_END_IGNORE_DEPRECATIONS
}

int DefaultResponse(MessageBoxStyle style) {
    if (style.buttons == MessageBoxButtons::Ok) return GTK_RESPONSE_OK;
    return style.defaultButton == MessageBoxDefault::Second ? GTK_RESPONSE_NO : GTK_RESPONSE_YES;
}

MessageBoxAnswer AnswerFor(int response) {
    switch (response) {
        case GTK_RESPONSE_OK:
            return MessageBoxAnswer::Ok;
        case GTK_RESPONSE_YES:
            return MessageBoxAnswer::Yes;
        case GTK_RESPONSE_NO:
            return MessageBoxAnswer::No;
        default:
            return MessageBoxAnswer::Closed;
    }
}

}  // namespace

MessageBoxAnswer GtkDialogs::ShowMessageBox(std::string_view text, std::string_view caption,
                                            MessageBoxStyle style) {
    GtkWindow* owner = VisibleOwner(*shared_);
    const bool yesNo = style.buttons == MessageBoxButtons::YesNo;
    const GtkMessageType type =
        style.icon == MessageBoxIcon::Question ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_ERROR;
    const std::string message = WithPlainLineBreaks(ToUtf8(text, shared_->Charset()));
    GtkWidget* widget =
        gtk_message_dialog_new(owner, GTK_DIALOG_MODAL, type,
                               yesNo ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s", message.c_str());
    GtkWindow* window = GTK_WINDOW(widget);
    GtkDialog* dialog = GTK_DIALOG(widget);
    gtk_window_set_title(window, ToUtf8(caption, shared_->Charset()).c_str());
    gtk_window_set_position(window, owner ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    gtk_window_set_skip_taskbar_hint(window, owner != nullptr);
    SetIcon(GTK_MESSAGE_DIALOG(widget), style.icon);

    const int defaultResponse = DefaultResponse(style);
    gtk_dialog_set_default_response(dialog, defaultResponse);
    if (GtkWidget* button = gtk_dialog_get_widget_for_response(dialog, defaultResponse)) {
        gtk_widget_grab_focus(button);
    }

    const int response = gtk_dialog_run(dialog);
    gtk_widget_destroy(widget);
    return AnswerFor(response);
}

}  // namespace quillmere
