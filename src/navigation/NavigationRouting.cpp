#include "navigation/NavigationRouting.h"

#include <string_view>

#include "package/PathHelpers.h"
#include "records/SiteAddresses.h"

namespace quillmere {

namespace {

constexpr std::string_view kProgramKey = "sw";
constexpr std::string_view kProgramExtension = ".exe";
constexpr std::string_view kWebScheme = "http://";
// The one packaged program that is told which folder the book runs from.
constexpr std::string_view kFolderProgramName = "Hollowquay.exe";
constexpr std::string_view kFolderMarker = "QZXPATH";

std::string FolderArgument(const std::string& helpFilePath, const TextRules& rules) {
    std::string argument(kFolderMarker);
    argument += '=';
    argument += GetDirectoryPart(helpFilePath, rules);
    argument += '=';
    argument += kFolderMarker;
    return argument;
}

void RoutePackagedProgramLink(const std::string& url, NavigationActions& actions,
                              const std::string& helpFilePath, const TextRules& rules) {
    const std::string name = GetQueryValue(url, kProgramKey, rules);
    if (name == kFolderProgramName) {
        actions.LaunchPackagedProgram(name, FolderArgument(helpFilePath, rules));
    } else if (GetExtensionPart(name, rules) == kProgramExtension) {
        actions.LaunchPackagedProgram(name, "");
    }
    // Any other name starts nothing; the link stays cancelled.
}

}  // namespace

void RouteNavigation(const std::string& url, bool& cancel, NavigationActions& actions,
                     const std::string& helpFilePath, const TextRules& rules) {
    // Cancel before acting, so a failing action still leaves the current page in place.
    if (StripQuery(url, rules) == LaunchLinkPrefix) {
        cancel = true;
        RoutePackagedProgramLink(url, actions, helpFilePath, rules);
    } else if (GetExtensionPart(url, rules) == kProgramExtension) {
        cancel = true;
        actions.StartLinkedProgram(url);
    } else if (std::string_view(url).starts_with(kWebScheme)) {
        cancel = true;
        actions.HandOffToBrowser(url);
    }
    // Everything else (local pages, https, other schemes) is browsed inside the window.
}

}  // namespace quillmere
