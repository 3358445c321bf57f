#pragma once

#include <ostream>

#include "BuilderOptions.h"

namespace quillmere::builder {

// Builds the book `options` describe, checks its pages (findings on `err`) and prints what it
// holds on `out`. Writes nothing when it refuses; says why on `err`.
int RunBuild(const BuildOptions& options, std::ostream& out, std::ostream& err);

}  // namespace quillmere::builder
