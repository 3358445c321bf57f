#pragma once

namespace quillmere {

// Ending the process. Everything that ends the process goes through here, so tests can watch the
// exit code instead of losing the test runner.
class Lifetime {
public:
    virtual ~Lifetime() = default;
    [[noreturn]] virtual void EndProcess(int exitCode) = 0;
};

}  // namespace quillmere
