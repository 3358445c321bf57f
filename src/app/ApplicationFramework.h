#pragma once

namespace quillmere {

class CQuillmereApp;

// The document template: creates the document, the view and the frame with its window. False
// (nothing left behind) when the window cannot be created.
bool CreateDocumentWindow(CQuillmereApp& app);
// Closes the window, then destroys the view and the document. Safe to call when there is none.
void DestroyDocumentWindow(CQuillmereApp& app);

// The life of the process: start-up, the message loop while start-up succeeded, the window
// destroyed, then the exit sequence, whose result is the exit code.
int RunApplication(CQuillmereApp& app);

}  // namespace quillmere
