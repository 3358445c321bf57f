#include "app/RunViewer.h"

#include "app/ApplicationFramework.h"
#include "app/QuillmereApp.h"
#include "app/WindowUnavailable.h"
#include "records/StubRecords.h"

namespace quillmere {

int RunViewer(Platform& platform, WindowUnavailable* unavailable) {
    CQuillmereApp app(platform, StubRecordBlock());
    if (unavailable != nullptr) unavailable->app = &app;
    const int exitCode = RunApplication(app);
    if (unavailable != nullptr) unavailable->app = nullptr;
    return exitCode;
}

}  // namespace quillmere
