#include "platform/posix/PosixProcesses.h"

#include <glib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

extern char** environ;

namespace quillmere {

namespace {

// Owns a posix_spawnattr_t that resets what the child would otherwise inherit from the viewer.
class SpawnAttributes {
  public:
    SpawnAttributes() {
        ok_ = posix_spawnattr_init(&attributes_) == 0;
        if (!ok_) return;
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        sigdelset(&all, SIGKILL);
        sigdelset(&all, SIGSTOP);
        ok_ = posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
              posix_spawnattr_setsigdefault(&attributes_, &all) == 0 &&
              posix_spawnattr_setflags(&attributes_,
                                       POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    bool ok() const { return ok_; }
    const posix_spawnattr_t* get() const { return &attributes_; }

  private:
    posix_spawnattr_t attributes_{};
    bool ok_ = false;
};

}  // namespace

ProcessHandle PosixProcesses::Start(const std::string& path,
                                    const std::vector<std::string>& arguments) {
    // posix_spawn resolves a relative path against the current folder, so a web address such as
    // "http://host/setup.exe" would start "./http:/host/setup.exe".
    if (path.empty() || path.front() != '/') return kFailedProcess;

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    // A program always gets an argument 0; without one it is the path.
    if (argv.empty()) argv.push_back(const_cast<char*>(path.c_str()));
    argv.push_back(nullptr);

    SpawnAttributes attributes;
    if (!attributes.ok()) return kFailedProcess;
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, attributes.get(), argv.data(), environ) != 0) {
        return kFailedProcess;
    }
    return static_cast<ProcessHandle>(pid);
}

int PosixProcesses::Wait(ProcessHandle process) {
    // waitpid would take 0 and negative values as process groups.
    if (process <= 0 || process > std::numeric_limits<pid_t>::max()) return -1;
    const auto pid = static_cast<pid_t>(process);
    // Only a child not yet reaped can be waited for.
    siginfo_t info{};
    int checked;
    do {
        checked = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
    } while (checked < 0 && errno == EINTR);
    if (checked < 0) return -1;

    // The wait runs GLib's default main context, so a stop that comes meanwhile is handled.
    struct Ending {
        bool done = false;
        int status = 0;
    } ending;
    GSource* watch = g_child_watch_source_new(pid);
    GChildWatchFunc onEnded = [](GPid, gint status, gpointer data) {
        auto* end = static_cast<Ending*>(data);
        end->status = status;
        end->done = true;
    };
    g_source_set_callback(watch, G_SOURCE_FUNC(onEnded), &ending, nullptr);
    g_source_attach(watch, nullptr);
    while (!ending.done) g_main_context_iteration(nullptr, TRUE);
    g_source_destroy(watch);
    g_source_unref(watch);

    if (WIFEXITED(ending.status)) return WEXITSTATUS(ending.status);
    if (WIFSIGNALED(ending.status)) return 128 + WTERMSIG(ending.status);
    return -1;
}

void PosixProcesses::Close(ProcessHandle /*process*/) {}

}  // namespace quillmere
