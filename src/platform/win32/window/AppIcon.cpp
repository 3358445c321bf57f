#include "platform/win32/window/AppIcon.h"

#include <string>

namespace quillmere {

namespace {

// The first icon group's name: a number, or a string valid only during the enumeration.
struct FirstIcon {
    WORD id = 0;
    std::string name;
};

BOOL CALLBACK TakeFirst(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    auto* first = reinterpret_cast<FirstIcon*>(found);
    if (IS_INTRESOURCE(name)) {
        first->id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    } else {
        first->name = name;
    }
    return FALSE;
}

HICON LoadSized(HINSTANCE instance, LPCSTR name, int size) {
    return static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

HICON LoadAppIcon(HINSTANCE instance, int size) {
    FirstIcon first;
    EnumResourceNamesA(instance, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, TakeFirst,
                       reinterpret_cast<LONG_PTR>(&first));
    const LPCSTR name = first.id ? MAKEINTRESOURCEA(first.id) : first.name.c_str();
    if (first.id || !first.name.empty()) {
        return LoadSized(instance, name, size);
    }
    return nullptr;
}

}  // namespace quillmere
