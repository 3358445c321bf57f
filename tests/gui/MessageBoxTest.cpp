// Message boxes: modal GTK dialogs with the right icon, title, default button and answers.
#include <gtest/gtest.h>

#include <functional>

#include "gui/GuiHarness.h"

namespace quillmere::testing {
namespace {

// What a scripted reader found in the box before answering it.
struct SeenBox {
    bool found = false;
    std::string title;
    std::string text;
    std::string iconName;
    GtkWindow* owner = nullptr;
    bool modal = false;
    int centreX = 0;
    int centreY = 0;
};

GtkWindow* ShownMessageBox() {
    GtkWindow* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr; w = w->next) {
        if (GTK_IS_MESSAGE_DIALOG(w->data) && IsOnScreen(GTK_WINDOW(w->data))) {
            found = GTK_WINDOW(w->data);
        }
    }
    g_list_free(windows);
    return found;
}

SeenBox Describe(GtkWindow* box) {
    SeenBox seen;
    seen.found = true;
    seen.title = gtk_window_get_title(box) ? gtk_window_get_title(box) : "";
    gchar* text = nullptr;
    g_object_get(box, "text", &text, nullptr);
    seen.text = text ? text : "";
    g_free(text);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    GtkWidget* image = gtk_message_dialog_get_image(GTK_MESSAGE_DIALOG(box));
    G_GNUC_END_IGNORE_DEPRECATIONS
    if (image != nullptr && GTK_IS_IMAGE(image) && gtk_widget_get_visible(image)) {
        const gchar* name = nullptr;
        gtk_image_get_icon_name(GTK_IMAGE(image), &name, nullptr);
        seen.iconName = name ? name : "";
    }
    seen.owner = gtk_window_get_transient_for(box);
    seen.modal = gtk_window_get_modal(box);
    ScreenCentre(GTK_WIDGET(box), seen.centreX, seen.centreY);
    return seen;
}

// Answers the next message box as a reader would, once it is on the screen.
class ScriptedReader {
  public:
    ScriptedReader(std::string name, std::function<void(GtkWindow*)> answer)
        : name_(std::move(name)), answer_(std::move(answer)) {
        poll_ = g_timeout_add(50, Poll, this);
        // A box nobody answers must not hang the tests.
        giveUp_ = g_timeout_add_seconds(60, GiveUp, this);
    }
    ~ScriptedReader() {
        if (poll_ != 0) g_source_remove(poll_);
        if (giveUp_ != 0) g_source_remove(giveUp_);
    }

    SeenBox seen;

  private:
    static gboolean Poll(gpointer self) {
        auto* reader = static_cast<ScriptedReader*>(self);
        GtkWindow* box = ShownMessageBox();
        if (box == nullptr) return G_SOURCE_CONTINUE;
        reader->poll_ = 0;
        reader->seen = Describe(box);
        MaybeScreenshot(reader->name_);
        reader->answer_(box);
        return G_SOURCE_REMOVE;
    }
    static gboolean GiveUp(gpointer self) {
        auto* reader = static_cast<ScriptedReader*>(self);
        reader->giveUp_ = 0;
        if (GtkWindow* box = ShownMessageBox()) gtk_window_close(box);
        return G_SOURCE_REMOVE;
    }

    std::string name_;
    std::function<void(GtkWindow*)> answer_;
    guint poll_ = 0;
    guint giveUp_ = 0;
};

std::function<void(GtkWindow*)> PressKey(const std::string& key) {
    return [key](GtkWindow* box) {
        RunTool({"xdotool", "windowfocus", "--sync", WindowId(box), "key", key});
    };
}

std::function<void(GtkWindow*)> ClickButton(int response) {
    return [response](GtkWindow* box) {
        GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(box), response);
        if (button == nullptr) return;
        int x = 0;
        int y = 0;
        ScreenCentre(button, x, y);
        RunTool(
            {"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"});
    };
}

void CloseBox(GtkWindow* box) { gtk_window_close(box); }

TEST(MessageBoxTest, BoxesLookRightAndGiveTheReadersAnswer) {
    GtkServices* services = SharedServices();
    if (services == nullptr) GTEST_SKIP() << "no display";
    struct Case {
        const char* name;
        MessageBoxStyle style;
        std::function<void(GtkWindow*)> answer;
        MessageBoxAnswer expected;
    };
    const Case cases[] = {
        {"stop-box", kStopBox, PressKey("Return"), MessageBoxAnswer::Ok},
        {"question-box", kQuestionBox, PressKey("Return"), MessageBoxAnswer::No},
        {"question-escape", kQuestionBox, PressKey("Escape"), MessageBoxAnswer::Closed},
        {"question-yes", kQuestionBox, ClickButton(GTK_RESPONSE_YES), MessageBoxAnswer::Yes},
        {"stop-closed", kStopBox, CloseBox, MessageBoxAnswer::Closed},
    };
    GdkRectangle screen;
    gdk_monitor_get_geometry(gdk_display_get_primary_monitor(gdk_display_get_default()), &screen);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedReader reader(c.name, c.answer);
        const MessageBoxAnswer answer =
            services->dialogs().ShowMessageBox("Something to say.", "My Ebook", c.style);
        ASSERT_TRUE(reader.seen.found);
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(reader.seen.title, "My Ebook");
        EXPECT_EQ(reader.seen.text, "Something to say.");
        const char* icon =
            c.style.icon == MessageBoxIcon::Question ? "dialog-question" : "dialog-error";
        EXPECT_EQ(reader.seen.iconName, icon);
        EXPECT_TRUE(gtk_icon_theme_has_icon(gtk_icon_theme_get_default(), icon));
        // No window yet: a box of its own, in the middle of the screen.
        EXPECT_EQ(reader.seen.owner, nullptr);
        EXPECT_NEAR(reader.seen.centreX, screen.x + screen.width / 2, 2);
        EXPECT_NEAR(reader.seen.centreY, screen.y + screen.height / 2, 2);
    }
}

TEST(MessageBoxTest, TextInTheUserCodePageReadsRightWithPlainLineBreaks) {
    if (SharedServices() == nullptr) GTEST_SKIP() << "no display";
    FakeSystem system;
    system.codePage = 1252;
    auto services = GtkServices::Start(system);
    ASSERT_NE(services, nullptr);
    ScriptedReader reader("code-page-box", PressKey("Return"));
    services->dialogs().ShowMessageBox("Caf\xe9 terms:\r\n\r\nDisclaimer...", "Caf\xe9",
                                       kQuestionBox);
    ASSERT_TRUE(reader.seen.found);
    EXPECT_EQ(reader.seen.title, "Caf\xc3\xa9");
    EXPECT_EQ(reader.seen.text, "Caf\xc3\xa9 terms:\n\nDisclaimer...");
}

class MessageBoxOverWindowTest : public WindowTest {};

TEST_F(MessageBoxOverWindowTest, BoxIsModalToTheVisibleMainWindowOnly) {
    {
        ScriptedReader reader("box-over-window", PressKey("Return"));
        EXPECT_EQ(SharedServices()->dialogs().ShowMessageBox("Error - x", "T", kStopBox),
                  MessageBoxAnswer::Ok);
        ASSERT_TRUE(reader.seen.found);
        EXPECT_EQ(reader.seen.owner, gtk->Window());
        EXPECT_TRUE(reader.seen.modal);
    }
    // Once the reader has closed the window, boxes stand alone again.
    gtk_widget_hide(GTK_WIDGET(gtk->Window()));
    {
        ScriptedReader reader("box-after-window", PressKey("Return"));
        SharedServices()->dialogs().ShowMessageBox("Error - y", "T", kStopBox);
        ASSERT_TRUE(reader.seen.found);
        EXPECT_EQ(reader.seen.owner, nullptr);
    }
}

}  // namespace
}  // namespace quillmere::testing
