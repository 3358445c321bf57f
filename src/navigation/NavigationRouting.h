#pragma once

#include <string>

#include "package/TextRules.h"

namespace quillmere {

// What a routed navigation can lead to; the view supplies them.
class NavigationActions {
  public:
    virtual ~NavigationActions() = default;
    virtual void LaunchPackagedProgram(const std::string& name, const std::string& argument) = 0;
    virtual void StartLinkedProgram(const std::string& url) = 0;
    virtual void HandOffToBrowser(const std::string& url) = 0;
};

// Decides one navigation: a packaged-program link, a linked program, a web link for the default
// browser (all cancelled), or anything else, browsed inside (cancel untouched).
// `helpFilePath` gives the folder passed to "Hollowquay.exe".
void RouteNavigation(const std::string& url, bool& cancel, NavigationActions& actions,
                     const std::string& helpFilePath, const TextRules& rules);

}  // namespace quillmere
