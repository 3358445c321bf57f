#pragma once

#include <ostream>
#include <string>

#include "BuilderOptions.h"

namespace quillmere::builder {

// Writes to options.outPath a copy of the finished book at `bookPath` whose branding record
// holds the branding options given in `options` and the book's own values for the rest; the
// package and its directory are copied unchanged, a signature after the package is dropped.
// Writes nothing when it refuses; says why on `err`; a summary on `out` unless quiet.
int RunRebrand(const std::string& bookPath, const BuildOptions& options, std::ostream& out,
               std::ostream& err);

}  // namespace quillmere::builder
