#pragma once

#include <string_view>

namespace quillmere {

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxIcon { Stop, Question };
enum class MessageBoxDefault { First, Second };

struct MessageBoxStyle {
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
    MessageBoxIcon icon = MessageBoxIcon::Stop;
    MessageBoxDefault defaultButton = MessageBoxDefault::First;
};

// The OK box with the stop icon that reports every failure.
inline constexpr MessageBoxStyle kStopBox{};
// Yes/No with the question icon and No as the default (the terms question).
inline constexpr MessageBoxStyle kQuestionBox{MessageBoxButtons::YesNo, MessageBoxIcon::Question,
                                              MessageBoxDefault::Second};

// Closed: the box was dismissed without pressing a button (window close, Escape).
enum class MessageBoxAnswer { Ok, Yes, No, Closed };

// Modal message boxes. A box shown while a main window exists is modal to it; before that it has
// no owner.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageBoxAnswer ShowMessageBox(std::string_view text, std::string_view caption,
                                            MessageBoxStyle style) = 0;
};

}  // namespace quillmere
