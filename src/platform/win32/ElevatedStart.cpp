#include "platform/win32/ElevatedStart.h"

namespace quillmere {

namespace {

constexpr unsigned long kElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED

}  // namespace

std::optional<std::string> ElevatedStartParameters(unsigned long createProcessError,
                                                   const std::vector<std::string>& arguments) {
    if (createProcessError != kElevationRequired) return std::nullopt;
    std::string parameters;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (!parameters.empty()) parameters += ' ';
        parameters += arguments[i];
    }
    return parameters;
}

}  // namespace quillmere
