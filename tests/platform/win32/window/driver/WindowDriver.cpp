// Drives a running book from outside, as a reader would: answers its message boxes and closes
// its window. Prints what it found, one "name=value" a line, for the calling script to check.
//   window-driver answer <caption> yes|no|ok     press a button of the box with this caption
//   window-driver close <caption>                close the main window with this caption
//   window-driver endsession <caption>           tell the main window that the session ends
//   window-driver hidden <caption>               wait until no main window with it is shown
//   window-driver endwait <caption>              tell the hidden window that hears the session's
//                                                end while the exit waits for started programs
#include <cstdio>
#include <cstring>
#include <string>

#include "../MessageBoxProbe.h"

namespace {

using namespace quillmere::test;

constexpr DWORD kTimeoutMs = 60000;
constexpr char kFrameClass[] = "QuillmereMainFrame";
constexpr char kSessionWatchClass[] = "QuillmereSessionWatch";

int Answer(const std::string& caption, const std::string& button) {
    const auto box = WaitForMessageBox(caption, kTimeoutMs);
    if (!box) {
        std::printf("found=0\n");
        return 2;
    }
    std::printf("found=1\nok=%d\nyes=%d\nno=%d\ncancel=%d\ndefault=%d\nowned=%d\n", box->ok,
                box->yes, box->no, box->cancel, box->defaultButton, box->owner != nullptr);
    std::printf("text=%s\n", box->text.c_str());
    const int id = button == "yes" ? IDYES : button == "no" ? IDNO : IDOK;
    PressButton(*box, id);
    return 0;
}

// Asks `window` whether the session may end, prints its answer, then ends the session. The book
// cleans up and ends while handling the end; the call returns when it has gone.
void EndSession(HWND window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kTimeoutMs,
                        &answer);
    std::printf("query=%d\n", static_cast<int>(answer));
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, kTimeoutMs,
                        &answer);
}

int Close(const std::string& caption, bool endSession) {
    HWND window = WaitForWindow(kFrameClass, caption, kTimeoutMs);
    if (window == nullptr) {
        std::printf("found=0\n");
        return 2;
    }
    // Wine keeps menus inside their own program, so the menu bar is checked by the window tests.
    std::printf("found=1\nzoomed=%d\n", IsZoomed(window) ? 1 : 0);
    if (!endSession) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    EndSession(window);
    return 0;
}

// The window may stay until the process ends, hidden; the reader no longer sees it.
int WaitUntilHidden(const std::string& caption) {
    for (DWORD waited = 0; waited < kTimeoutMs; waited += 100) {
        HWND window = FindWindowA(kFrameClass, caption.c_str());
        if (window == nullptr || !IsWindowVisible(window)) {
            std::printf("shown=0\n");
            return 0;
        }
        Sleep(100);
    }
    std::printf("shown=1\n");
    return 2;
}

// The watch has no caption of its own; there is one book running.
int EndSessionDuringTheWait() {
    HWND watch = nullptr;
    for (DWORD waited = 0; watch == nullptr && waited < kTimeoutMs; waited += 100) {
        watch = FindWindowA(kSessionWatchClass, nullptr);
        if (watch == nullptr) Sleep(100);
    }
    if (watch == nullptr) {
        std::printf("found=0\n");
        return 2;
    }
    std::printf("found=1\n");
    EndSession(watch);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(
            stderr,
            "usage: window-driver answer|close|endsession|hidden|endwait <caption> [button]\n");
        return 64;
    }
    const std::string command = argv[1];
    if (command == "answer" && argc == 4) return Answer(argv[2], argv[3]);
    if (command == "close") return Close(argv[2], false);
    if (command == "endsession") return Close(argv[2], true);
    if (command == "hidden") return WaitUntilHidden(argv[2]);
    if (command == "endwait") return EndSessionDuringTheWait();
    std::fprintf(stderr, "unknown command %s\n", argv[1]);
    return 64;
}
