#include "ReferenceCheck.h"

#include <algorithm>
#include <array>

#include "package/MultibyteText.h"
#include "package/PathHelpers.h"
#include "records/SiteAddresses.h"

namespace quillmere::builder {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The scheme before the first ':', lowered, when the text starts with one (two letters at least,
// so that a drive letter is not one); empty otherwise.
std::string SchemeOf(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (IsAsciiLetter(value[i]) ||
                                (i > 0 && (value[i] == '+' || value[i] == '-' || value[i] == '.' ||
                                           (value[i] >= '0' && value[i] <= '9'))))) {
        ++i;
    }
    if (i < 2 || i >= value.size() || value[i] != ':') return {};
    std::string scheme(value.substr(0, i));
    for (char& c : scheme) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return scheme;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The file name a relative reference asks for: no query or fragment, %XX and &amp; decoded.
std::string RelativeTarget(std::string_view value, const LeadBytes& lead) {
    std::size_t end = value.size();
    for (std::size_t i = 0; i < value.size(); i += CharLength(value, i, lead)) {
        if (value[i] == '?' || value[i] == '#') {
            end = i;
            break;
        }
    }
    std::string target;
    for (std::size_t i = 0; i < end;) {
        if (value[i] == '%' && i + 2 < end && HexValue(value[i + 1]) >= 0 &&
            HexValue(value[i + 2]) >= 0) {
            target += static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
            i += 3;
        } else if (value.substr(i, 5) == "&amp;") {
            target += '&';
            i += 5;
        } else {
            const std::size_t length = CharLength(value, i, lead);
            target.append(value.substr(i, length));
            i += length;
        }
    }
    return target;
}

// The text the engine reports for an attribute value: &amp; read as &.
std::string WithoutAmpEntities(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        text += value[i];
        if (value.substr(i, 5) == "&amp;") i += 4;
    }
    return text;
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted.append(text);
    quoted += '"';
    return quoted;
}

// Files the web view shows; a link to anything else offers a download.
bool WebViewShows(const std::string& extension) {
    static constexpr std::array<std::string_view, 16> kShown = {
        ".htm",  ".html", ".txt", ".css", ".js",  ".xml",  ".gif",   ".jpg",
        ".jpeg", ".png",  ".bmp", ".ico", ".svg", ".webp", ".xhtml", ".exe"};
    for (std::string_view shown : kShown) {
        if (extension == shown) return true;
    }
    return false;
}

class ReferenceChecker {
  public:
    ReferenceChecker(ReferenceUse use, const BookContents& book, const std::string& page,
                     std::size_t line, Findings& findings)
        : use_(use), book_(book), page_(page), line_(line), findings_(findings) {}

    void Check(std::string_view value) {
        const TextRules rules{book_.Lead(), '\\'};
        const std::string scheme = SchemeOf(value);
        if (StripQuery(value, rules) == LaunchLinkPrefix) return CheckLaunchLink(value, rules);
        if (GetExtensionPart(value, rules) == ".exe") return CheckExeLink(value, scheme);
        if (value.starts_with("http://")) return;
        if (scheme == "https") {
            return Add(FindingKind::Https, Quoted(value) +
                                               " opens inside the book's window, not in the "
                                               "reader's browser (only http:// links do)");
        }
        if (scheme == "http") {
            return Add(FindingKind::Scheme,
                       Quoted(value) +
                           " opens inside the book's window: only a lower-case "
                           "http:// link goes to the reader's browser");
        }
        if (scheme == "javascript" || scheme == "data" || scheme == "about") return;
        if (scheme == "file") {
            return Add(FindingKind::Absolute,
                       Quoted(value) + " is an absolute local path, not a file of the book");
        }
        if (!scheme.empty()) {
            return Add(FindingKind::Scheme, Quoted(value) +
                                                " is not handed to the reader's browser; "
                                                "the web engine may do nothing with it");
        }
        CheckLocal(value);
    }

  private:
    void CheckLaunchLink(std::string_view value, const TextRules& rules) {
        const std::string name = GetQueryValue(WithoutAmpEntities(value), "sw", rules);
        const std::string decoded = RelativeTarget(name, rules.leadBytes);
        if (GetExtensionPart(decoded, rules) != ".exe") {
            return Add(FindingKind::Launch, "the launch link names " + Quoted(decoded) +
                                                ", which is no program: the link does nothing");
        }
        if (!book_.HoldsIgnoringCase(decoded)) {
            Add(FindingKind::Launch, "the launch link names " + Quoted(decoded) +
                                         ", which the book does not hold: the reader gets "
                                         "\"Required exe file not found\"");
        }
    }

    void CheckExeLink(std::string_view value, const std::string& scheme) {
        const std::string target = RelativeTarget(value, book_.Lead());
        if (scheme.empty() && book_.HoldsIgnoringCase(target)) {
            return Add(FindingKind::ExeLink, "a direct link to " + Quoted(value) +
                                                 " does nothing: write " + LaunchLinkPrefix +
                                                 "?sw=" + *book_.HoldsIgnoringCase(target) +
                                                 " to start the packaged program");
        }
        if (!scheme.empty()) {
            return Add(FindingKind::ExeLink,
                       Quoted(value) +
                           " ends in .exe, so the viewer starts it as a local "
                           "program, which fails: link to a page about it instead");
        }
        CheckLocal(value);
    }

    void CheckLocal(std::string_view value) {
        if (value.starts_with("/") || value.starts_with("\\")) {
            if (value == "/" || value == "\\") {
                return Add(FindingKind::Absolute,
                           Quoted(value) + " is the file system's root, not a page of the book");
            }
            return Add(FindingKind::Absolute,
                       Quoted(value) + " is an absolute path, not a file of the book");
        }
        if (value.size() >= 2 && IsAsciiLetter(value[0]) && value[1] == ':') {
            return Add(FindingKind::Absolute,
                       Quoted(value) + " is an absolute local path, not a file of the book");
        }
        const std::string target = RelativeTarget(value, book_.Lead());
        if (target.empty()) return;  // the page itself, or a place on it
        const std::size_t slash = FindLastChar(target, '/', book_.Lead());
        const std::size_t backslash = FindLastChar(target, '\\', book_.Lead());
        if (slash != kNotFound || backslash != kNotFound) {
            const std::size_t cut =
                slash == kNotFound ? backslash
                                   : (backslash == kNotFound ? slash : std::max(slash, backslash));
            const std::string base = target.substr(cut + 1);
            std::string hint = book_.Holds(base) ? "; " + base +
                                                       " is in the book: refer to it "
                                                       "by its name alone"
                                                 : "; package the file and refer to it by name";
            return Add(FindingKind::Folder,
                       Quoted(value) + " names a folder, and a book holds no folders" + hint);
        }
        if (book_.Holds(target)) {
            if (use_ == ReferenceUse::Link && !WebViewShows(LowerExtension(target, book_.Lead()))) {
                Add(FindingKind::Download, Quoted(value) +
                                               " is a file the web view offers to save instead of "
                                               "showing, and the viewer refuses the download");
            }
            return;
        }
        if (auto other = book_.HoldsIgnoringCase(target)) {
            return Add(FindingKind::Case, Quoted(value) + " matches " + Quoted(*other) +
                                              " only in letter case: found on Windows, not "
                                              "on Linux");
        }
        Add(FindingKind::Missing, Quoted(value) + " is not in the book");
    }

    void Add(FindingKind kind, std::string message) {
        findings_.push_back({page_, line_, kind, std::move(message)});
    }

    ReferenceUse use_;
    const BookContents& book_;
    const std::string& page_;
    std::size_t line_;
    Findings& findings_;
};

}  // namespace

void CheckReference(std::string_view value, ReferenceUse use, const BookContents& book,
                    const std::string& page, std::size_t line, Findings& findings) {
    value = Trimmed(value);
    // Empty, a place on this page, or a branding tag the viewer fills in.
    if (value.empty() || value.front() == '#' || value.find("RVX_") != std::string_view::npos) {
        return;
    }
    ReferenceChecker(use, book, page, line, findings).Check(value);
}

}  // namespace quillmere::builder
