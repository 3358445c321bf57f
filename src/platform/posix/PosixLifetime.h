#pragma once

#include <glib.h>

#include <functional>
#include <vector>

#include "platform/Lifetime.h"

namespace quillmere {

// Ends the process with std::exit, so stdio is flushed and static destructors run.
//
// From construction on, SIGTERM, SIGINT and SIGHUP are stops: they are taken on GLib's default
// main context, which the message loop, the message boxes and the wait for a started program all
// run, and given to the stop handler there.
class PosixLifetime : public Lifetime {
  public:
    PosixLifetime();
    ~PosixLifetime() override;
    PosixLifetime(const PosixLifetime&) = delete;
    PosixLifetime& operator=(const PosixLifetime&) = delete;

    [[noreturn]] void EndProcess(int exitCode) override;
    void SetStopHandler(std::function<void()> onStop) override;

    // The display is gone: stops at once. The process then ends without running exit handlers,
    // since some of them would talk to the display.
    [[noreturn]] void StopForLostDisplay();

  private:
    static gboolean OnStopSignal(gpointer self);
    void Stop(int signal);

    std::function<void()> onStop_;
    std::vector<guint> sources_;
    bool displayLost_ = false;
    bool stopping_ = false;
};

}  // namespace quillmere
