#pragma once

#include <ostream>
#include <string>

#include "BuilderOptions.h"

namespace quillmere::builder {

// Prints the book's records and every fault found in them; for a book whose records are sound,
// also what it holds and the page check's findings (on `err`, with the check options of
// `options`). kExitSuccess only for a sound book (with --strict: one without findings).
int RunInspect(const std::string& bookPath, const BuildOptions& options, std::ostream& out,
               std::ostream& err);

}  // namespace quillmere::builder
