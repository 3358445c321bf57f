#include "app/ApplicationFramework.h"

#include "app/QuillmereApp.h"
#include "ui/MainFrame.h"
#include "ui/QuillmereDoc.h"
#include "ui/QuillmereView.h"

namespace quillmere {

bool CreateDocumentWindow(CQuillmereApp& app) {
    app.Document = std::make_unique<CQuillmereDoc>();
    app.View =
        std::make_unique<CQuillmereView>(app.Context, app, app, app.StartPage, app.Workspace);
    app.MainFrame = CMainFrame::Create(app.Context.platform.windowing, *app.View);
    if (!app.MainFrame || !app.Document->OnNewDocument()) {
        DestroyDocumentWindow(app);
        return false;
    }
    return true;
}

void DestroyDocumentWindow(CQuillmereApp& app) {
    // The window goes first: it must not report to a view that no longer exists.
    app.MainFrame.reset();
    app.View.reset();
    app.Document.reset();
}

int RunApplication(CQuillmereApp& app) {
    if (app.InitInstance()) app.Context.platform.windowing.RunMessageLoop();
    DestroyDocumentWindow(app);
    return app.ExitInstance();
}

}  // namespace quillmere
