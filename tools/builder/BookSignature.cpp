#include "BookSignature.h"

#include <random>
#include <sstream>
#include <system_error>

#include "SigningTool.h"

namespace quillmere::builder {

namespace fs = std::filesystem;

namespace {

fs::path Sibling(const fs::path& target, const char* what) {
    std::random_device random;
    fs::path sibling = target;
    sibling += std::string(".") + what + "-" + std::to_string(random());
    return sibling;
}

// The last line osslsigncode wrote that says what went wrong.
std::string LastLine(const std::string& output) {
    std::istringstream in(output);
    std::string last;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) last = line;
    }
    return last.empty() ? "no reason given" : last;
}

// The text after "`label`" on the first line that starts with it, after `from`.
std::string ValueAfter(const std::string& output, const std::string& label, std::size_t from = 0) {
    const std::size_t at = output.find(label, from);
    if (at == std::string::npos) return {};
    const std::size_t start = at + label.size();
    std::string value = output.substr(start, output.find('\n', start) - start);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\r')) value.pop_back();
    return value;
}

// osslsigncode's own reason ("Failed to parse PKCS#12 file: ... (Wrong password?)"), which comes
// before its bare "Failed" and OpenSSL's error stack.
std::string SigningFailure(const std::string& output) {
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (const std::size_t at = line.find("Failed to "); at != std::string::npos) {
            return line.substr(at);
        }
    }
    return LastLine(output);
}

}  // namespace

bool WriteSignedWhole(const fs::path& target, const std::vector<const Bytes*>& parts,
                      fs::perms permissions, const SigningOptions& signing, std::string& error) {
    const fs::path unsignedBook = Sibling(target, "unsigned");
    const fs::path signedBook = Sibling(target, "signed");
    if (!WriteFileWhole(unsignedBook, parts, permissions, error)) return false;
    std::vector<std::string> arguments = {
        "sign", "-pkcs12", signing.certificate, "-readpass", signing.passwordFile, "-h", "sha256"};
    if (!signing.timestampUrl.empty()) {
        arguments.insert(arguments.end(), {"-ts", signing.timestampUrl});
    }
    arguments.insert(arguments.end(), {"-in", unsignedBook.string(), "-out", signedBook.string()});
    const std::optional<ToolRun> run = RunSigningTool(arguments, error);
    std::error_code ignored;
    fs::remove(unsignedBook, ignored);
    if (run && run->exitCode != 0) {
        error = "signing failed: osslsigncode: " + SigningFailure(run->output);
    }
    if (!run || run->exitCode != 0) {
        fs::remove(signedBook, ignored);
        return false;
    }
    std::error_code code;
    fs::permissions(signedBook, permissions, code);
    if (!code) fs::rename(signedBook, target, code);
    if (code) {
        error = target.string() + ": " + code.message();
        fs::remove(signedBook, ignored);
        return false;
    }
    return true;
}

std::string CheckSignable(const SigningOptions& signing, ReaderPlatform platform) {
    if (signing.certificate.empty()) return {};
    if (platform == ReaderPlatform::WindowsI686 || platform == ReaderPlatform::WindowsX64) {
        return {};
    }
    return "--sign makes Authenticode signatures, which only Windows books carry; this book is "
           "for readers on " +
           std::string(PlatformName(platform));
}

bool WriteBook(const fs::path& target, const std::vector<const Bytes*>& parts,
               fs::perms permissions, const SigningOptions& signing, std::string& error) {
    if (signing.certificate.empty()) return WriteFileWhole(target, parts, permissions, error);
    return WriteSignedWhole(target, parts, permissions, signing, error);
}

std::string InspectSignature(const std::string& bookPath, std::ostream& out) {
    std::string error;
    // Without -CAfile, osslsigncode trusts what the system's certificate store trusts.
    const std::optional<ToolRun> run = RunSigningTool({"verify", "-in", bookPath}, error);
    out << "Signature\n";
    if (!run) {
        out << "  not verified: " << error << '\n';
        return {};
    }
    const std::string current = ValueAfter(run->output, "Current message digest    : ");
    const std::string calculated = ValueAfter(run->output, "Calculated message digest : ");
    if (current.empty()) {
        return "the data after the package is no signature osslsigncode reads (" +
               LastLine(run->output) + ")";
    }
    // A mismatch is flagged after the digest on the same line.
    const bool matches = calculated.substr(0, calculated.find(' ')) == current;
    // osslsigncode names the signer only once the digest matches.
    const std::size_t signerAt = run->output.find("Signer's certificate:");
    const std::string signer =
        signerAt == std::string::npos ? "" : ValueAfter(run->output, "Subject: ", signerAt);
    out << "  signer: " << (signer.empty() ? "not read" : signer) << '\n'
        << "  digest: " << (matches ? "matches the signature" : "DOES NOT match the signature")
        << '\n'
        << "  trusted: "
        << (!matches ? "no, the book was changed after signing"
                     : (run->exitCode == 0 ? "yes, by the system's certificate store"
                                           : "not trusted by the system's certificate store"))
        << '\n';
    return matches ? std::string() : "the book's digest does not match its signature";
}

}  // namespace quillmere::builder
