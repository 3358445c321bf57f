#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillmere {

// How paths are formed on this platform.
struct PathConventions {
    char separator = '\\';
    // Windows lower-cases the module folder; a case-sensitive file system must keep it.
    bool lowerCaseModuleFolder = true;
    // True: the stub reads the running executable itself. False: module folder + base name +
    // ".exe".
    bool selfImageIsModuleFile = false;
};

// What the process knows about itself and its surroundings.
class System {
  public:
    virtual ~System() = default;
    virtual PathConventions Conventions() = 0;
    // Full path of the running executable; nullopt when it cannot be determined.
    virtual std::optional<std::string> ModuleFilePath() = 0;
    // The user's ANSI code page: 932, 936, 949 and 950 are the double-byte ones, 65001 is UTF-8.
    virtual unsigned AnsiCodePage() = 0;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t CurrentTime() = 0;
};

}  // namespace quillmere
