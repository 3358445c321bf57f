#pragma once

#include <string>
#include <string_view>

#include "platform/AppContext.h"

namespace quillmere {

inline constexpr const char* kRedirectPageName = "temp_webtool_help.html";

// Writes the redirect page (path fixed on first use and kept in `redirectPagePath`) and asks the
// shell to open it. False after a failure has been shown.
bool HandOffToBrowser(AppContext& ctx, const std::string& url, std::string& redirectPagePath);

// The page that sends a browser on to `url` at once, with a link for browsers that do not follow
// the refresh. The address is written as character references where it would otherwise be markup.
std::string RedirectPageText(std::string_view url);

// Where the redirect page goes: directly in the temporary folder, or a fixed place when that
// folder cannot be determined.
std::string RedirectPagePathFor(AppContext& ctx);

// For the view when it is destroyed: deletes the redirect page if one was written. A failure is
// of no interest to the reader.
void RemoveRedirectPage(AppContext& ctx, const std::string& redirectPagePath);

}  // namespace quillmere
