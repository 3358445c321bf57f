#include "platform/posix/PosixLifetime.h"

#include <glib-unix.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quillmere {

namespace {

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

struct SignalSource {
    PosixLifetime* lifetime;
    int signal;
};

}  // namespace

PosixLifetime::PosixLifetime() {
    for (int signal : kStopSignals) {
        // The source owns its small record; GLib frees it when the source goes.
        auto* record = new SignalSource{this, signal};
        sources_.push_back(
            g_unix_signal_add_full(G_PRIORITY_HIGH, signal, OnStopSignal, record,
                                   [](gpointer data) { delete static_cast<SignalSource*>(data); }));
    }
}

PosixLifetime::~PosixLifetime() {
    for (guint source : sources_) g_source_remove(source);
}

void PosixLifetime::EndProcess(int exitCode) {
    if (displayLost_) {
        static_cast<void>(std::fflush(nullptr));
        _exit(exitCode);
    }
    std::exit(exitCode);
}

void PosixLifetime::SetStopHandler(std::function<void()> onStop) { onStop_ = std::move(onStop); }

void PosixLifetime::StopForLostDisplay() {
    displayLost_ = true;
    Stop(0);
    PosixLifetime::EndProcess(1);  // a handler that returned
}

gboolean PosixLifetime::OnStopSignal(gpointer data) {
    const auto* record = static_cast<const SignalSource*>(data);
    record->lifetime->Stop(record->signal);
    return G_SOURCE_CONTINUE;
}

void PosixLifetime::Stop(int signal) {
    // A second stop while the first is cleaning up (a message box inside the clean-up runs the
    // loop) waits for the first to end the process.
    if (stopping_) return;
    stopping_ = true;
    if (onStop_) onStop_();
    if (signal == 0) return;
    // No handler, or one that returned: end as the signal would have.
    static_cast<void>(::signal(signal, SIG_DFL));
    static_cast<void>(::raise(signal));
    std::_Exit(128 + signal);
}

}  // namespace quillmere
