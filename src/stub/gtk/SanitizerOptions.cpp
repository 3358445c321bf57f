// GLib's type system, fontconfig, the accessibility bus and WebKit keep allocations for the life of
// the process, so a leak check at the viewer's exit reports only theirs and would turn every
// sanitizer run of a real book into a failure. The same code's leaks are checked by the test
// programs that run it without a window; address and undefined-behaviour checks stay on. Only a
// sanitizer build reads this.
// The name is the sanitizer runtime's, reserved as it is.
// NOLINTNEXTLINE(bugprone-reserved-identifier)
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_options() {
    return "detect_leaks=0";
}
