#pragma once

#include <set>
#include <string>
#include <vector>

#include "check/Finding.h"
#include "records/BrandingSettings.h"

namespace quillmere::builder {

// Exit codes, as the help text lists them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// An Authenticode signature for a Windows book; no certificate: unsigned.
struct SigningOptions {
    std::string certificate;   // a PKCS#12 file
    std::string passwordFile;  // its password, on the file's first line
    std::string timestampUrl;  // empty: no timestamp
};

struct BuildOptions {
    std::string stubPath;
    std::string outPath;
    BrandingValues branding;
    // The branding options given ("--title", "--hide-bonus", ...), for --rebrand.
    std::set<std::string> brandingGiven;
    std::vector<std::string> files;
    // The ANSI code page of the book's readers, which decides how the packaged names read. 0:
    // unknown, so each name must be plain, and distinct from the others, in every code page.
    unsigned codePage = 0;
    // No summary on success.
    bool quiet = false;
    // Every finding of the page check refuses the book.
    bool strict = false;
    // Kinds of finding that are neither printed nor refused.
    std::set<FindingKind> allowed;
    SigningOptions signing;
};

enum class Command { Build, Inspect, Rebrand, Help };

struct ParsedCommandLine {
    Command command = Command::Build;
    BuildOptions build;
    // --inspect uses the code page and the check options of `build` too.
    std::string inspectPath;
    // The finished book --rebrand copies; --out and the branding options of `build` apply.
    std::string rebrandPath;
    // Set when the command line cannot be used; the rest is then meaningless.
    std::string error;
};

// Reads the command line (without the program name). Branding values start at the club's own:
// reseller 100001, update seed 306417, its name and site, bonus sections shown.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();
std::string HelpText();

}  // namespace quillmere::builder
