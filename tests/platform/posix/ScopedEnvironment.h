#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace quillmere::testing {

// Sets (or, with nullptr, removes) one environment variable and puts the old value back when it
// goes out of scope.
class ScopedEnvironment {
  public:
    ScopedEnvironment(std::string name, const char* value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value != nullptr) {
            setenv(name_.c_str(), value, 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    ~ScopedEnvironment() {
        if (old_) {
            setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace quillmere::testing
