// GLib's type system, fontconfig, the accessibility bus and WebKit keep allocations for the life of
// the process, so a leak check at the exit of a window test reports only theirs. Our code's leaks
// are checked by the test programs that run it without a display; here ASan and UBSan still check
// every access.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_options() {
    return "detect_leaks=0";
}
