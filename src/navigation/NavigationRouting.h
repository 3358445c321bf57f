#pragma once

#include <string>

#include "platform/TextRules.h"

namespace quillmere {

// The programs a navigation can start; the application starts them and waits for them at exit.
class ProgramActions {
  public:
    virtual ~ProgramActions() = default;
    virtual void LaunchPackagedProgram(const std::string& name, const std::string& argument) = 0;
    virtual void StartLinkedProgram(const std::string& url) = 0;
};

// What a routed navigation can lead to; the view supplies them.
class NavigationActions : public ProgramActions {
  public:
    virtual void HandOffToBrowser(const std::string& url) = 0;
};

// Decides one navigation: a packaged-program link, a linked program, a web link for the default
// browser (all cancelled), or anything else, browsed inside (cancel untouched).
// `helpFilePath` gives the folder passed to "Hollowquay.exe".
void RouteNavigation(const std::string& url, bool& cancel, NavigationActions& actions,
                     const std::string& helpFilePath, const TextRules& rules);

}  // namespace quillmere
