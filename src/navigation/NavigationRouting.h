#pragma once

#include <string>

#include "platform/FileSystem.h"
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
    // An address of a scheme the window does not show (mailto:, tel:, ...), for the program the
    // reader has set up for it.
    virtual void OpenWithDefaultProgram(const std::string& url) = 0;
    // The viewer's own short page in place of one that is not part of the book.
    virtual void ShowNotInBook() = 0;
};

// Where the book is and how its paths read.
struct BookPlace {
    // The folder the pages were written to, with its trailing separator; empty while there is
    // none, and then no local file is part of the book.
    const std::string& workspace;
    // Gives the folder passed to "Hollowquay.exe".
    const std::string& helpFilePath;
    const TextRules& rules;
    // Tells which files of the folder exist.
    FileSystem& files;
    // True where the file system ignores letter case.
    bool pathsIgnoreCase = false;
};

// Decides one navigation. Cancelled: a packaged-program link, a linked program, a web link for
// the default browser, an address of another scheme for its own program, and a local file that
// is not part of the book (a folder, a file outside the Workspace, a page missing from it), for
// which the viewer's own page is shown. Anything else (the book's pages, https, about:, data:,
// blob:, javascript:) is browsed inside, with `cancel` untouched.
void RouteNavigation(const std::string& url, bool& cancel, NavigationActions& actions,
                     const BookPlace& book);

}  // namespace quillmere
