#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace quillmere {

// Find in page: an entry, the match count ("3 of 12"), previous and next. Matches ignore letter
// case and wrap at either end. Enter and Shift+Enter in the entry go to the next and previous
// match, Escape closes the bar and gives the focus back to the page. The bar takes no room while
// it is closed.
class FindBar {
  public:
    explicit FindBar(WebKitWebView* view);
    ~FindBar();
    FindBar(const FindBar&) = delete;
    FindBar& operator=(const FindBar&) = delete;

    // The bar's widget, for the window to place; hidden until Open.
    GtkWidget* Widget() const { return bar_; }
    GtkWidget* Entry() const { return entry_; }
    GtkWidget* CountLabel() const { return count_; }
    bool IsOpen() const { return gtk_widget_get_visible(bar_); }

    // Shows the bar with its text selected and the focus in the entry.
    void Open();
    void Close();
    void Next();
    void Previous();

  private:
    static void OnChanged(GtkSearchEntry* entry, gpointer self);
    static void OnActivate(GtkEntry* entry, gpointer self);
    static void OnStop(GtkSearchEntry* entry, gpointer self);
    static gboolean OnEntryKey(GtkWidget* entry, GdkEventKey* event, gpointer self);
    static void OnCounted(WebKitFindController* find, guint count, gpointer self);
    static void OnNotFound(WebKitFindController* find, gpointer self);
    static void OnNextClicked(GtkButton* button, gpointer self);
    static void OnPreviousClicked(GtkButton* button, gpointer self);
    static void OnCloseClicked(GtkButton* button, gpointer self);
    void Search();
    void ShowCount();

    WebKitWebView* view_;
    WebKitFindController* find_;
    GtkWidget* bar_;
    GtkWidget* entry_;
    GtkWidget* count_;
    guint matches_ = 0;
    // Which match is selected, from 1; counted here because the engine does not tell.
    guint current_ = 0;
};

}  // namespace quillmere
