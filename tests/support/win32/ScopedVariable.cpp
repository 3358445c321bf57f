#include "support/ScopedVariable.h"

#include <windows.h>

#include <vector>

namespace quillmere::testing {

ScopedVariable::ScopedVariable(const char* name, const std::string& value) : name_(name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size != 0) {
        std::vector<char> old(size);
        if (GetEnvironmentVariableA(name, old.data(), size) == size - 1) old_ = old.data();
    }
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedVariable::~ScopedVariable() {
    SetEnvironmentVariableA(name_.c_str(), old_ ? old_->c_str() : nullptr);
}

}  // namespace quillmere::testing
