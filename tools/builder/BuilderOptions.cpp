#include "BuilderOptions.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

#include "SigningTool.h"
#include "records/SiteAddresses.h"

namespace quillmere::builder {

namespace {

constexpr std::int32_t kClubResellerId = 100001;
constexpr std::int32_t kClubUpdateCodeSeed = 306417;
constexpr const char* kSigntoolCommand =
    "signtool sign /fd sha256 /f CERT.p12 /p PASSWORD [/tr URL /td sha256] BOOK";

std::optional<std::int32_t> ParseNumber(const std::string& text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0 ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

class Parser {
  public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    ParsedCommandLine Run() {
        result_.build.branding.ResellerId = kClubResellerId;
        result_.build.branding.UpdateCodeSeed = kClubUpdateCodeSeed;
        result_.build.branding.ResellerName = kClubName;
        result_.build.branding.ResellerSite = ClubSiteAddress;
        bool sawBuildOption = false;
        bool optionsEnded = false;
        for (next_ = 0; next_ < arguments_.size() && result_.error.empty();) {
            const std::string argument = arguments_[next_++];
            if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
                result_.build.files.push_back(argument);
                continue;
            }
            if (argument == "--") {
                optionsEnded = true;
            } else if (argument == "--help" || argument == "-h") {
                result_.command = Command::Help;
                return result_;
            } else if (argument == "--inspect") {
                result_.command = Command::Inspect;
                Value(argument, result_.inspectPath);
            } else if (argument.starts_with("--inspect=")) {
                result_.command = Command::Inspect;
                result_.inspectPath = argument.substr(argument.find('=') + 1);
            } else if (argument == "--rebrand" || argument.starts_with("--rebrand=")) {
                result_.command = Command::Rebrand;
                if (argument == "--rebrand") {
                    Value(argument, result_.rebrandPath);
                } else {
                    result_.rebrandPath = argument.substr(argument.find('=') + 1);
                }
            } else if (!CheckOption(argument)) {
                sawBuildOption = true;
                BuildOption(argument);
            }
        }
        if (!result_.error.empty()) return result_;
        if (result_.command == Command::Inspect) {
            if (sawBuildOption || !result_.build.files.empty()) {
                result_.error =
                    "--inspect takes the book, --code-page, --strict and --allow, nothing else";
            }
        } else if (result_.command == Command::Rebrand) {
            if (!result_.build.stubPath.empty() || !result_.build.files.empty()) {
                result_.error = "--rebrand takes a finished book: no --stub and no files";
            } else if (result_.build.outPath.empty()) {
                result_.error = "--out is required";
            }
        } else if (result_.build.stubPath.empty()) {
            result_.error = "--stub is required";
        } else if (result_.build.outPath.empty()) {
            result_.error = "--out is required";
        }
        if (result_.error.empty()) result_.error = CheckSigning();
        return result_;
    }

  private:
    std::string CheckSigning() const {
        const SigningOptions& signing = result_.build.signing;
        if (signing.certificate.empty() && signing.passwordFile.empty() &&
            signing.timestampUrl.empty()) {
            return {};
        }
        if (!kSignsBooks) {
            return std::string(
                       "quillmere-build.exe does not sign books: sign the finished book "
                       "with signtool: ") +
                   kSigntoolCommand;
        }
        if (signing.certificate.empty())
            return "--sign-password-file and --timestamp-url need --sign";
        if (signing.passwordFile.empty()) return "--sign needs --sign-password-file";
        return {};
    }

    // The options that --inspect takes as well; false for any other.
    bool CheckOption(const std::string& argument) {
        const std::string name = argument.substr(0, argument.find('='));
        std::optional<std::string> inlineValue;
        if (name.size() < argument.size()) inlineValue = argument.substr(name.size() + 1);
        if (name == "--strict" && !inlineValue) {
            result_.build.strict = true;
        } else if (name == "--allow") {
            std::string kinds;
            if (!Value(name, kinds, inlineValue)) return true;
            for (std::size_t begin = 0; begin <= kinds.size();) {
                std::size_t end = std::min(kinds.find(',', begin), kinds.size());
                FindingKind kind;
                if (!KindByName(kinds.substr(begin, end - begin), kind)) {
                    result_.error = "--allow takes a kind of finding (" + KindNames() +
                                    "), not \"" + kinds.substr(begin, end - begin) + "\"";
                    return true;
                }
                result_.build.allowed.insert(kind);
                begin = end + 1;
            }
        } else if (name == "--code-page") {
            std::int32_t codePage = 0;
            if (!Number(name, codePage, inlineValue)) return true;
            if (codePage < 1 || codePage > 65535) {
                result_.error = "--code-page needs a code page from 1 to 65535";
            }
            result_.build.codePage = static_cast<unsigned>(codePage);
        } else {
            return false;
        }
        return true;
    }

    bool Number(const std::string& name, std::int32_t& target,
                const std::optional<std::string>& inlineValue) {
        std::string digits;
        if (!Value(name, digits, inlineValue)) return false;
        if (auto value = ParseNumber(digits)) {
            target = *value;
            return true;
        }
        result_.error = name + " needs a whole number from 0 to 2147483647, not \"" + digits + "\"";
        return false;
    }

    void BuildOption(const std::string& argument) {
        std::string name = argument;
        std::optional<std::string> inlineValue;
        if (auto equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            inlineValue = argument.substr(equals + 1);
        }
        BrandingValues& branding = result_.build.branding;
        if (name != "--stub" && name != "--out" && name != "--quiet" && name != "-q" &&
            !name.starts_with("--sign") && name != "--timestamp-url") {
            result_.build.brandingGiven.insert(name);
        }
        auto text = [&](std::string& target) { Value(name, target, inlineValue); };
        auto number = [&](std::int32_t& target) { Number(name, target, inlineValue); };
        if (name == "--stub") {
            text(result_.build.stubPath);
        } else if (name == "--out") {
            text(result_.build.outPath);
        } else if (name == "--sign") {
            text(result_.build.signing.certificate);
        } else if (name == "--sign-password-file") {
            text(result_.build.signing.passwordFile);
        } else if (name == "--timestamp-url") {
            text(result_.build.signing.timestampUrl);
        } else if (name == "--title") {
            text(branding.EbookTitle);
        } else if (name == "--description") {
            text(branding.EbookDescription);
        } else if (name == "--reseller-name") {
            text(branding.ResellerName);
        } else if (name == "--reseller-site") {
            text(branding.ResellerSite);
        } else if (name == "--reseller-url") {
            text(branding.ResellerUrl);
        } else if (name == "--reseller-id") {
            number(branding.ResellerId);
        } else if (name == "--update-seed") {
            number(branding.UpdateCodeSeed);
        } else if (name == "--hide-bonus" && !inlineValue) {
            branding.HideBonusSections = 1;
        } else if (name == "--show-bonus" && !inlineValue) {
            branding.HideBonusSections = 0;
        } else if ((name == "--quiet" || name == "-q") && !inlineValue) {
            result_.build.quiet = true;
        } else {
            result_.error = "unknown option " + argument;
        }
    }

    // Takes the option's value from "--name=value" or from the next argument.
    bool Value(const std::string& name, std::string& target,
               const std::optional<std::string>& inlineValue = std::nullopt) {
        if (inlineValue) {
            target = *inlineValue;
            return true;
        }
        if (next_ >= arguments_.size()) {
            result_.error = name + " needs a value";
            return false;
        }
        target = arguments_[next_++];
        return true;
    }

    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    ParsedCommandLine result_;
};

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    return Parser(arguments).Run();
}

std::string UsageText() {
    return "Usage: quillmere-build --stub STUB --out BOOK [OPTION]... FILE...\n"
           "       quillmere-build --inspect BOOK [--code-page N] [--strict] [--allow KIND]\n"
           "       quillmere-build --rebrand BOOK --out NEW [BRANDING OPTION]...\n"
           "       quillmere-build --help\n";
}

namespace {

std::string SigningHelp() {
    if (!kSignsBooks) {
        return std::string(
                   "  (signing: this builder does not sign; sign a finished Windows book\n"
                   "                         with signtool:\n                         ") +
               kSigntoolCommand + ")\n";
    }
    return "  --sign CERT.p12        sign the Windows book (build or --rebrand) with\n"
           "                         osslsigncode, SHA-256, as the last step\n"
           "  --sign-password-file FILE  the certificate's password (required with --sign)\n"
           "  --timestamp-url URL    a timestamp server for the signature (passed to\n"
           "                         osslsigncode as -ts URL)\n";
}

}  // namespace

std::string HelpText() {
    return UsageText() +
           "\n"
           "Build a Quillmere ebook: copy the viewer STUB to BOOK, fill in its branding record\n"
           "and package directory, and append the given FILEs as the book's enciphered package.\n"
           "Each FILE is packaged under its base name, in the order given. A FILE that is a\n"
           "folder stands for the regular files directly inside it, in name order; it may hold\n"
           "nothing else (no subfolder, no symbolic link). Pages (.htm, .html) are shown in\n"
           "the viewer, programs (.exe) are started from links, and every other file is\n"
           "written next to the pages. The first page, or index.html / index.htm, is shown\n"
           "first. BOOK is written whole or not at all and keeps the stub's permissions; it\n"
           "may not be the stub, one of the FILEs, or inside a folder given as a FILE.\n"
           "\n"
           "Every build checks the pages first, as the author wrote them, and prints each\n"
           "finding on standard error as PAGE:LINE: warning: ... [KIND]: references (href,\n"
           "src, background, url() in pages and .css files) to files not in the book\n"
           "(missing), matching only in letter case (case), into folders (folder) or to\n"
           "absolute paths (absolute); https links, which open inside the window (https);\n"
           "other schemes the reader's browser does not get (scheme); direct links to\n"
           "programs (exe-link); launch links to programs not in the book (launch); links to\n"
           "files the web view only offers to save (download); pages cut at a zero byte\n"
           "(zero-byte); bonus markers that do not pair or hide a comment's end (bonus);\n"
           "RVX_ words that are no tag (tag); a book without pages (no-page); a book from the\n"
           "i686 stub over 1 GiB (size). Of one kind on one page three are shown, the rest\n"
           "counted. On success a summary goes to standard output.\n"
           "\n"
           "Options:\n"
           "  --stub STUB            the unmerged viewer to copy (required)\n"
           "  --out BOOK             where to write the book (required; not the stub itself)\n"
           "  --title T              the book's title, at most 59 bytes (default: none; the\n"
           "                         viewer then calls it \"Ebook\")\n"
           "  --description D        the book's description, at most 595 bytes\n"
           "  --reseller-id N        the stored reseller number: the reseller's own number\n"
           "                         plus 100000 (default 100001, the club itself)\n"
           "  --update-seed N        the reseller's update code seed (default 306417)\n"
           "  --reseller-name S      the reseller's name, at most 99 bytes (default Corvane)\n"
           "  --reseller-site URL    the reseller's web site, at most 99 bytes (default the\n"
           "                         club's site)\n"
           "  --reseller-url URL     the reseller's second address, at most 99 bytes\n"
           "  --hide-bonus           hide the pages' bonus sections\n"
           "  --show-bonus           show them (the default)\n"
           "  --code-page N          the Windows ANSI code page the book's readers use (932,\n"
           "                         936, 949, 950, 1252, ...): file names are read as in that\n"
           "                         code page. Without it a name must suit every code page, so\n"
           "                         a name with a two-byte character whose second byte is '\\'\n"
           "                         (Shift-JIS 0x95 0x5C) needs it\n"
           "  --strict               refuse the book when the check finds anything\n"
           "  --allow KIND[,KIND]    neither print nor refuse findings of these kinds\n"
           "  -q, --quiet            no summary on success\n" +
           SigningHelp() +
           "  --inspect BOOK         print BOOK's records and check that they are sound, then\n"
           "                         what it holds and the check of its pages; of a signed\n"
           "                         Windows book also the signer, whether the signature\n"
           "                         matches and whether the system trusts the signer\n"
           "  --rebrand BOOK         copy the finished BOOK to --out NEW with its branding\n"
           "                         record filled anew from the branding options given (the\n"
           "                         ones not given keep BOOK's values); the package is copied\n"
           "                         as it is and a signature after it is dropped\n"
           "  -h, --help             print this help and exit\n"
           "  --                     treat every further argument as a FILE\n"
           "\n"
           "Options that take a value also accept --option=value. Numbers are whole numbers\n"
           "from 0 to 2147483647. A book holds at most 100 files; a file's base name is at\n"
           "most 91 bytes, may not repeat (letter case aside) and must be a plain name: no\n"
           "folder part, no ':', not a Windows device name (CON, PRN, AUX, NUL, COM1-COM9,\n"
           "LPT1-LPT9, with any extension), and no '.' or blank at the end.\n"
           "\n"
           "Exit status:\n"
           "  0  the book was written, or --inspect found it sound\n"
           "  1  the book was refused (nothing was written), or --inspect found a fault\n"
           "  2  the command line could not be used\n"
           "\n"
           "Example:\n"
           "  quillmere-build --stub quillmere-stub --out mybook --title \"My Book\" \\\n"
           "      --reseller-id 100042 --reseller-name \"Ann's Books\" \\\n"
           "      index.html cover.jpg Tool.exe\n"
           "  quillmere-build --inspect mybook\n";
}

}  // namespace quillmere::builder
