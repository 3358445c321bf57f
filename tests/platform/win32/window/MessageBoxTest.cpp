// Message boxes as the reader meets them, answered by the test as a reader would: found on
// screen, their buttons looked at, one pressed. Once the main window exists it owns them.
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "MessageBoxProbe.h"
#include "WindowTestSupport.h"
#include "platform/win32/Win32Dialogs.h"

namespace quillmere::test {
namespace {

constexpr DWORD kWaitMs = 20000;

struct BoxCase {
    const char* name;
    MessageBoxStyle style;
    int press;
    MessageBoxAnswer answer;
    bool ok, yes, no;
    int defaultButton;
};

const BoxCase kCases[] = {
    {"stop box", kStopBox, IDOK, MessageBoxAnswer::Ok, true, false, false, IDOK},
    {"terms answered yes", kQuestionBox, IDYES, MessageBoxAnswer::Yes, false, true, true, IDNO},
    {"terms answered no", kQuestionBox, IDNO, MessageBoxAnswer::No, false, true, true, IDNO},
};

// Shows the box on this thread while another finds and answers it.
std::optional<FoundMessageBox> ShowAndAnswer(Win32Dialogs& dialogs, const BoxCase& c,
                                             MessageBoxAnswer& answer) {
    const std::string caption = std::string("Caf\xe9 ") + c.name;
    std::optional<FoundMessageBox> found;
    std::thread reader([&] {
        found = WaitForMessageBox(caption, kWaitMs);
        if (found) PressButton(*found, c.press);
    });
    answer = dialogs.ShowMessageBox("Line one\nline two", caption, c.style);
    reader.join();
    return found;
}

void CheckBox(const std::optional<FoundMessageBox>& found, const BoxCase& c) {
    ASSERT_TRUE(found) << c.name;
    EXPECT_EQ(found->text, "Line one\nline two") << c.name;
    EXPECT_EQ(found->ok, c.ok) << c.name;
    EXPECT_EQ(found->yes, c.yes) << c.name;
    EXPECT_EQ(found->no, c.no) << c.name;
    EXPECT_FALSE(found->cancel) << c.name;
    EXPECT_EQ(found->defaultButton, c.defaultButton) << c.name;
}

TEST(MessageBoxTest, BoxesBeforeTheWindowHaveNoOwner) {
    Win32Dialogs dialogs;
    for (const BoxCase& c : kCases) {
        MessageBoxAnswer answer = MessageBoxAnswer::Closed;
        const auto found = ShowAndAnswer(dialogs, c, answer);
        CheckBox(found, c);
        EXPECT_EQ(answer, c.answer) << c.name;
        if (found) {
            EXPECT_EQ(found->owner, nullptr) << c.name;
        }
    }
}

TEST(MessageBoxTest, BoxesWhileTheMainWindowExistsAreOwnedByIt) {
    Win32Dialogs dialogs;
    RecordingEvents events;
    Win32Windowing windowing;
    windowing.OnMainWindowChange([&](HWND window) { dialogs.SetOwner(window); });
    auto window =
        windowing.CreateMainWindow({"Quillmere", "Print Instructions", kCommandPrint}, events);
    ASSERT_TRUE(window);
    window->Show();
    const HWND main = static_cast<Win32MainWindow&>(*window).Handle();
    for (const BoxCase& c : kCases) {
        MessageBoxAnswer answer = MessageBoxAnswer::Closed;
        const auto found = ShowAndAnswer(dialogs, c, answer);
        CheckBox(found, c);
        EXPECT_EQ(answer, c.answer) << c.name;
        if (found) {
            EXPECT_EQ(found->owner, main) << c.name;
        }
    }

    window.reset();
    MessageBoxAnswer answer = MessageBoxAnswer::Closed;
    const auto found = ShowAndAnswer(dialogs, kCases[0], answer);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->owner, nullptr);  // the window has gone
}

}  // namespace
}  // namespace quillmere::test
