#include "MessageBoxProbe.h"

namespace quillmere::test {
namespace {

struct Search {
    const char* windowClass;
    const std::string* caption;
    HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    if (std::string(name) != search->windowClass || !IsWindowVisible(window)) return TRUE;
    char caption[512] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    if (*search->caption != caption) return TRUE;
    search->found = window;
    return FALSE;
}

std::string TextOf(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

}  // namespace

HWND WaitForWindow(const char* windowClass, const std::string& caption, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        Search search{windowClass, &caption};
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        // A box shown by this thread needs its messages handled while we look.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

std::optional<FoundMessageBox> WaitForMessageBox(const std::string& caption, DWORD timeoutMs) {
    HWND box = WaitForWindow("#32770", caption, timeoutMs);
    if (box == nullptr) return std::nullopt;
    FoundMessageBox found;
    found.box = box;
    found.owner = GetWindow(box, GW_OWNER);
    found.caption = caption;
    found.text = TextOf(GetDlgItem(box, 0xFFFF));  // the box's text control
    found.ok = GetDlgItem(box, IDOK) != nullptr;
    found.yes = GetDlgItem(box, IDYES) != nullptr;
    found.no = GetDlgItem(box, IDNO) != nullptr;
    found.cancel = GetDlgItem(box, IDCANCEL) != nullptr;
    // The default button is drawn as one; the box's default id is not always kept up to date.
    for (const int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        const LONG_PTR style = button ? GetWindowLongPtrA(button, GWL_STYLE) : 0;
        if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) found.defaultButton = id;
    }
    return found;
}

void PressButton(const FoundMessageBox& box, int button) {
    PostMessageA(box.box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.box, button)));
}

}  // namespace quillmere::test
