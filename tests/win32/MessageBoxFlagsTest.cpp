#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/Win32Dialogs.h"

namespace quillmere {
namespace {

TEST(MessageBoxFlags, StopBoxAndTermsQuestion) {
    EXPECT_EQ(MessageBoxFlags(kStopBox), static_cast<unsigned>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(MessageBoxFlags(kQuestionBox),
              static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
}

}  // namespace
}  // namespace quillmere
