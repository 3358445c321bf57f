#include <string>

#include "app/ProfileSettings.h"
#include "app/QuillmereApp.h"
#include "app/TermsText.h"
#include "package/PathHelpers.h"

namespace quillmere {

// Copies renamed with the reseller's own prefix ("tlb" + reseller id, any letter case) never ask.
bool CQuillmereApp::IsTermsExempt() {
    const std::string name = GetFileNamePart(SelfImagePath, Context.rules);
    const std::string prefix = "tlb" + std::to_string(BrandingSettings.ResellerId);
    return name.compare(0, prefix.size(), prefix) == 0;
}

void CQuillmereApp::AskTermsOfUse() {
    std::string text = TermsText;
    text += kTermsQuestion;
    const MessageBoxAnswer answer =
        Context.platform.dialogs.ShowMessageBox(text, Context.appName, kQuestionBox);
    if (answer != MessageBoxAnswer::Yes) Context.platform.lifetime.EndProcess(1);
    // A failed write only means the question comes again next time.
    WriteProfileInt(Context, "LU", "Terms", 1);
}

}  // namespace quillmere
