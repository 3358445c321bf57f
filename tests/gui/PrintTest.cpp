// Printing writes the page alone: no title, address, date or page number around it.
#include <gtest/gtest.h>

#include "gui/GuiHarness.h"
#include "platform/gtk/PagePrinting.h"

namespace quillmere::testing {
namespace {

class PrintTest : public WindowTest {
  protected:
    void TearDown() override { g_unsetenv(kPrintToFileVariable); }
};

TEST_F(PrintTest, PrintsOnlyThePageTextEveryTime) {
    const std::string page = dir.Write(
        "instructions.html",
        "<html><head><title>Secret Title Words</title></head><body>"
        "<h1>Mixing instructions</h1><p>Stir the blue powder into warm water.</p></body></html>");
    ASSERT_TRUE(Open(page, "Secret Title Words"));

    // Twice in a row, the same result.
    for (const char* name : {"first.pdf", "second.pdf"}) {
        SCOPED_TRACE(name);
        const std::string pdf = dir.File(name);
        g_setenv(kPrintToFileVariable, pdf.c_str(), TRUE);
        window->PrintCurrentPage();
        const auto text = RunTool({"pdftotext", "-layout", pdf, "-"});
        ASSERT_TRUE(text.has_value()) << "no readable PDF at " << pdf;
        EXPECT_NE(text->find("Mixing instructions"), std::string::npos) << *text;
        EXPECT_NE(text->find("Stir the blue powder into warm water."), std::string::npos);
        EXPECT_EQ(text->find("Secret Title"), std::string::npos) << *text;
        // Addresses, dates, times and "1/1" page numbers all need these; the page has none.
        EXPECT_EQ(text->find_first_of("/:"), std::string::npos) << *text;
        EXPECT_EQ(text->find("Page"), std::string::npos) << *text;
    }
}

TEST_F(PrintTest, WithoutAFileThePrintDialogAsksTheReader) {
    ASSERT_TRUE(Open(dir.Write("page.html", "<title>Page</title><p>Some text</p>"), "Page"));
    g_unsetenv(kPrintToFileVariable);
    GtkWindow* owner = nullptr;
    ScriptedReader reader(
        "GtkPrintUnixDialog", "print-dialog",
        [&](GtkWindow* dialog) { owner = gtk_window_get_transient_for(dialog); },
        PressKey("Escape"));
    window->PrintCurrentPage();
    ASSERT_TRUE(reader.found());
    EXPECT_EQ(owner, gtk->Window());
    // Cancelled: the window goes on as before.
    EXPECT_EQ(Title(), "Page");
}

}  // namespace
}  // namespace quillmere::testing
