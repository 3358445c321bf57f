#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillmere::testing {

// What the probe program (support/probe/Probe.cpp) appends for one run with `arguments`
// (argument 0 first), started in this process's current folder.
inline std::string ProbeRecord(const std::vector<std::string>& arguments,
                               const std::string& value = "<unset>") {
    std::string record = "argc=" + std::to_string(arguments.size()) + "\n";
    for (const std::string& argument : arguments) record += "arg=" + argument + "\n";
    return record + "folder=" + std::filesystem::current_path().string() + "\nvalue=" + value +
           "\nend\n";
}

}  // namespace quillmere::testing
