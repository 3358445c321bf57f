#pragma once

#include <optional>
#include <string>

namespace quillmere::testing {

// Sets an environment variable for this process, and so for the programs it starts, while the
// object lives; then puts back the value it had, or removes it.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace quillmere::testing
