#include "WindowTestSupport.h"

namespace quillmere::test {

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

WindowFixture::WindowFixture(ViewEvents& events)
    : main(windowing.CreateMainWindow({"Quillmere", "Print Instructions", kCommandPrint}, events)) {
}

}  // namespace quillmere::test
