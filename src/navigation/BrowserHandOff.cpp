#include "navigation/BrowserHandOff.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "package/FileHelpers.h"

namespace quillmere {

namespace {

constexpr const char* kBrowserFailureFormat =
    "Unable to activate your Internet browser\n\nPlease activate your browser and enter the "
    "address:\n\n%s";

// The address inside a double-quoted attribute: the browser decodes the references again, so it
// follows exactly the same address, and no address can close the attribute or open a tag.
std::string EscapeForAttribute(std::string_view url) {
    std::string out;
    out.reserve(url.size());
    for (char c : url) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

std::string RedirectPageText(std::string_view url) {
    const std::string address = EscapeForAttribute(url);
    std::string page = "<HTML><HEAD><TITLE>Redirect</TITLE>\n";
    page += "<META HTTP-EQUIV=\"refresh\" CONTENT=\"0; URL=" + address + "\">\n";
    page +=
        "</HEAD><BODY><br><br><br><center>If you are not redirected automatically, please <a "
        "href=\"" +
        address + "\" style=\"color:#000000\">click here</a></center></BODY></HTML>";
    return page;
}

std::string RedirectPagePathFor(AppContext& ctx) {
    std::optional<std::string> folder = ctx.platform.files.TemporaryDirectory();
    if (!folder || folder->empty()) folder = ctx.platform.files.FallbackTemporaryDirectory();
    return *folder + kRedirectPageName;
}

bool HandOffToBrowser(AppContext& ctx, const std::string& url, std::string& redirectPagePath) {
    if (redirectPagePath.empty()) redirectPagePath = RedirectPagePathFor(ctx);
    const std::string page = RedirectPageText(url);
    if (page.size() > std::numeric_limits<std::uint32_t>::max()) {
        ShowErrorBox(ctx, "Failed to write file %s", redirectPagePath);
        return false;
    }
    if (!WriteWholeFile(ctx, redirectPagePath, page.data(), static_cast<std::uint32_t>(page.size()),
                        FileKind::Document)) {
        return false;  // the writer has shown its message
    }
    if (ctx.platform.shell.OpenWithDefaultProgram(redirectPagePath) > kShellSuccessAbove) {
        return true;
    }
    ShowErrorBox(ctx, kBrowserFailureFormat, url);
    return false;
}

void RemoveRedirectPage(AppContext& ctx, const std::string& redirectPagePath) {
    if (!redirectPagePath.empty()) ctx.platform.files.RemoveFile(redirectPagePath);
}

}  // namespace quillmere
