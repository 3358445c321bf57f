#include "platform/gtk/ViewerContextMenu.h"

#include "platform/Windowing.h"

namespace quillmere {

namespace {

constexpr const char* kActionNames[] = {"back", "forward", "copy", "select-all", "print"};

}  // namespace

ViewerContextMenu::ViewerContextMenu(WebKitWebView* view, const std::string& printLabel,
                                     int printCommand, CommandSink send)
    : view_(view), printLabel_(printLabel), printCommand_(printCommand), send_(std::move(send)) {
    for (int item = 0; item < kItemCount; ++item) {
        actions_[item] = g_simple_action_new(kActionNames[item], nullptr);
        g_signal_connect(actions_[item], "activate", G_CALLBACK(OnActivate), this);
    }
    g_signal_connect(view_, "context-menu", G_CALLBACK(OnContextMenu), this);
}

ViewerContextMenu::~ViewerContextMenu() {
    g_signal_handlers_disconnect_by_data(view_, this);
    for (GSimpleAction* action : actions_) {
        g_signal_handlers_disconnect_by_data(action, this);
        g_object_unref(action);
    }
}

gboolean ViewerContextMenu::OnContextMenu(WebKitWebView* view, WebKitContextMenu* menu, GdkEvent*,
                                          WebKitHitTestResult* hit, gpointer self) {
    auto* owner = static_cast<ViewerContextMenu*>(self);
    webkit_context_menu_remove_all(menu);
    const bool enabled[kItemCount] = {
        webkit_web_view_can_go_back(view) != FALSE,
        webkit_web_view_can_go_forward(view) != FALSE,
        hit != nullptr && webkit_hit_test_result_context_is_selection(hit) != FALSE,
        true,
        true,
    };
    const char* labels[kItemCount] = {"Back", "Forward", "Copy", "Select All",
                                      owner->printLabel_.c_str()};
    for (int item = 0; item < kItemCount; ++item) {
        if (item == kCopy || item == kPrint) {
            webkit_context_menu_append(menu, webkit_context_menu_item_new_separator());
        }
        g_simple_action_set_enabled(owner->actions_[item], enabled[item]);
        webkit_context_menu_append(
            menu, webkit_context_menu_item_new_from_gaction(G_ACTION(owner->actions_[item]),
                                                            labels[item], nullptr));
    }
    return FALSE;  // show it
}

void ViewerContextMenu::OnActivate(GSimpleAction* action, GVariant*, gpointer self) {
    auto* owner = static_cast<ViewerContextMenu*>(self);
    for (int item = 0; item < kItemCount; ++item) {
        if (owner->actions_[item] == action) owner->Run(static_cast<Item>(item));
    }
}

void ViewerContextMenu::Run(Item item) {
    switch (item) {
        case kBack:
            send_(kCommandBack);
            break;
        case kForward:
            send_(kCommandForward);
            break;
        case kCopy:
            webkit_web_view_execute_editing_command(view_, WEBKIT_EDITING_COMMAND_COPY);
            break;
        case kSelectAll:
            webkit_web_view_execute_editing_command(view_, WEBKIT_EDITING_COMMAND_SELECT_ALL);
            break;
        case kPrint:
            send_(printCommand_);
            break;
        case kItemCount:
            break;
    }
}

}  // namespace quillmere
