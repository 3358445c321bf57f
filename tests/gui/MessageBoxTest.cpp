// Message boxes: modal GTK dialogs with the right icon, title, default button and answers.
#include <gtest/gtest.h>

#include <functional>

#include "gui/GuiHarness.h"

namespace quillmere::testing {
namespace {

// What a scripted reader found in the box before answering it.
constexpr const char* kBoxType = "GtkMessageDialog";

struct SeenBox {
    std::string title;
    std::string text;
    std::string iconName;
    GtkWindow* owner = nullptr;
    bool modal = false;
    int centreX = 0;
    int centreY = 0;
};

SeenBox Describe(GtkWindow* box) {
    SeenBox seen;
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

WindowAction LookAt(SeenBox& seen) {
    return [&seen](GtkWindow* box) { seen = Describe(box); };
}

TEST(MessageBoxTest, BoxesLookRightAndGiveTheReadersAnswer) {
    GtkServices* services = SharedServices();
    if (services == nullptr) GTEST_SKIP() << "no display";
    struct Case {
        const char* name;
        MessageBoxStyle style;
        WindowAction answer;
        MessageBoxAnswer expected;
    };
    const Case cases[] = {
        {"stop-box", kStopBox, PressKey("Return"), MessageBoxAnswer::Ok},
        {"question-box", kQuestionBox, PressKey("Return"), MessageBoxAnswer::No},
        {"question-escape", kQuestionBox, PressKey("Escape"), MessageBoxAnswer::Closed},
        {"question-yes", kQuestionBox, ClickButton(GTK_RESPONSE_YES), MessageBoxAnswer::Yes},
        {"stop-closed", kStopBox, CloseDialog, MessageBoxAnswer::Closed},
    };
    GdkRectangle screen;
    gdk_monitor_get_geometry(gdk_display_get_primary_monitor(gdk_display_get_default()), &screen);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SeenBox seen;
        ScriptedReader reader(kBoxType, c.name, LookAt(seen), c.answer);
        const MessageBoxAnswer answer =
            services->dialogs().ShowMessageBox("Something to say.", "My Ebook", c.style);
        ASSERT_TRUE(reader.found());
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(seen.title, "My Ebook");
        EXPECT_EQ(seen.text, "Something to say.");
        const char* icon =
            c.style.icon == MessageBoxIcon::Question ? "dialog-question" : "dialog-error";
        EXPECT_EQ(seen.iconName, icon);
        EXPECT_TRUE(gtk_icon_theme_has_icon(gtk_icon_theme_get_default(), icon));
        // No window yet: a box of its own, in the middle of the screen.
        EXPECT_EQ(seen.owner, nullptr);
        EXPECT_NEAR(seen.centreX, screen.x + screen.width / 2, 2);
        EXPECT_NEAR(seen.centreY, screen.y + screen.height / 2, 2);
    }
}

TEST(MessageBoxTest, TextInTheUserCodePageReadsRightWithPlainLineBreaks) {
    if (SharedServices() == nullptr) GTEST_SKIP() << "no display";
    FakeSystem system;
    system.codePage = 1252;
    auto services = GtkServices::Start(system);
    ASSERT_NE(services, nullptr);
    SeenBox seen;
    ScriptedReader reader(kBoxType, "code-page-box", LookAt(seen), PressKey("Return"));
    services->dialogs().ShowMessageBox("Caf\xe9 terms:\r\n\r\nDisclaimer...", "Caf\xe9",
                                       kQuestionBox);
    ASSERT_TRUE(reader.found());
    EXPECT_EQ(seen.title, "Caf\xc3\xa9");
    EXPECT_EQ(seen.text, "Caf\xc3\xa9 terms:\n\nDisclaimer...");
}

class MessageBoxOverWindowTest : public WindowTest {};

TEST_F(MessageBoxOverWindowTest, BoxIsModalToTheVisibleMainWindowOnly) {
    {
        SeenBox seen;
        ScriptedReader reader(kBoxType, "box-over-window", LookAt(seen), PressKey("Return"));
        EXPECT_EQ(SharedServices()->dialogs().ShowMessageBox("Error - x", "T", kStopBox),
                  MessageBoxAnswer::Ok);
        ASSERT_TRUE(reader.found());
        EXPECT_EQ(seen.owner, gtk->Window());
        EXPECT_TRUE(seen.modal);
    }
    // Once the reader has closed the window, boxes stand alone again.
    gtk_widget_hide(GTK_WIDGET(gtk->Window()));
    {
        SeenBox seen;
        ScriptedReader reader(kBoxType, "box-after-window", LookAt(seen), PressKey("Return"));
        SharedServices()->dialogs().ShowMessageBox("Error - y", "T", kStopBox);
        ASSERT_TRUE(reader.found());
        EXPECT_EQ(seen.owner, nullptr);
    }
}

}  // namespace
}  // namespace quillmere::testing
