#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "BookFiles.h"
#include "BuilderOptions.h"
#include "StubPlatform.h"

namespace quillmere::builder {

// Writes `parts` to `target` with an Authenticode signature (SHA-256) made by osslsigncode:
// the unsigned book goes to a temporary sibling, the signed one to another, and only a
// successful signing renames it over `target`; either way no temporary file is left.
bool WriteSignedWhole(const std::filesystem::path& target, const std::vector<const Bytes*>& parts,
                      std::filesystem::perms permissions, const SigningOptions& signing,
                      std::string& error);

// Why a book for `platform` cannot be signed as asked, or empty (also when not asked to sign).
std::string CheckSignable(const SigningOptions& signing, ReaderPlatform platform);

// WriteSignedWhole when a certificate is given, otherwise WriteFileWhole.
bool WriteBook(const std::filesystem::path& target, const std::vector<const Bytes*>& parts,
               std::filesystem::perms permissions, const SigningOptions& signing,
               std::string& error);

// Prints the signature of the Windows book at `bookPath` as osslsigncode verifies it against the
// system's certificate store: the signer, whether the digest matches, whether the signer is
// trusted. Gives a fault (the digest does not match, or it cannot be read), or empty.
std::string InspectSignature(const std::string& bookPath, std::ostream& out);

}  // namespace quillmere::builder
