#include "navigation/NavigationRouting.h"

#include <string_view>

#include "navigation/LocalAddress.h"
#include "package/MultibyteText.h"
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

// Schemes the window shows itself; any other goes to the reader's own program for it.
constexpr std::string_view kShownSchemes[] = {"http", "https", "file",      "about",
                                              "data", "blob",  "javascript"};

bool IsShownScheme(const std::string& scheme) {
    for (std::string_view shown : kShownSchemes) {
        if (scheme == shown) return true;
    }
    return false;
}

// A file written directly into the Workspace: the book has no folders of its own, so a path with
// a separator after the Workspace (a subfolder, a "..") is not part of it, nor is the folder.
bool IsPartOfTheBook(const std::string& path, const BookPlace& book) {
    const std::string& folder = book.workspace;
    if (folder.empty() || path.size() <= folder.size()) return false;
    const std::string_view start(path.data(), folder.size());
    const bool inFolder = book.pathsIgnoreCase
                              ? EqualsIgnoringCase(start, folder, book.rules.leadBytes)
                              : start == folder;
    if (!inFolder) return false;
    const std::string_view name = std::string_view(path).substr(folder.size());
    if (name.find_first_of(std::string{book.rules.separator, '/', '\\', '\0'}) !=
        std::string_view::npos) {
        return false;
    }
    return book.files.Exists(path);
}

}  // namespace

void RouteNavigation(const std::string& url, bool& cancel, NavigationActions& actions,
                     const BookPlace& book) {
    const TextRules& rules = book.rules;
    const std::string& helpFilePath = book.helpFilePath;
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
    } else if (const std::string scheme = SchemeOf(url);
               !scheme.empty() && !IsShownScheme(scheme)) {
        cancel = true;
        actions.OpenWithDefaultProgram(url);
    } else if (const auto path = LocalPathOf(url, rules); path && !IsPartOfTheBook(*path, book)) {
        cancel = true;
        actions.ShowNotInBook();
    }
    // Everything else (the book's pages, https, the engine's own addresses) is browsed inside.
}

}  // namespace quillmere
