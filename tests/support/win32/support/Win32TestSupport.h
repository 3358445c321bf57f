#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "support/ScopedVariable.h"

namespace quillmere::testing {

// A key of its own under HKEY_CURRENT_USER\Software, deleted with everything below it at the end.
class ScratchKey {
  public:
    explicit ScratchKey(const std::string& under = "Software");
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // The key's path below HKEY_CURRENT_USER.
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Writes a value straight through the Win32 registry; fails the test when it cannot.
void SetRegistryValue(const std::string& subkey, const std::string& name, DWORD type,
                      const std::string& data, HKEY root = HKEY_CURRENT_USER);

// The probe program's report, "name=value" lines; empty when it wrote none.
std::map<std::string, std::string> ReadProbeRecord(const std::string& path);
// Waits up to ten seconds for the probe's report to appear.
std::map<std::string, std::string> AwaitProbeRecord(const std::string& path);

}  // namespace quillmere::testing
