#pragma once

#include <string>

#include "app/AppContext.h"

namespace quillmere {

inline constexpr const char* kRedirectPageName = "temp_webtool_help.html";

// Writes the redirect page (path fixed on first use and kept in `redirectPagePath`) and asks the
// shell to open it. False after a failure has been shown.
bool HandOffToBrowser(AppContext& ctx, const std::string& url, std::string& redirectPagePath);

}  // namespace quillmere
