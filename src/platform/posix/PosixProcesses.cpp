#include "platform/posix/PosixProcesses.h"

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
    int status = 0;
    pid_t result;
    do {
        result = waitpid(static_cast<pid_t>(process), &status, 0);
    } while (result < 0 && errno == EINTR);
    if (result < 0) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

void PosixProcesses::Close(ProcessHandle /*process*/) {}

}  // namespace quillmere
