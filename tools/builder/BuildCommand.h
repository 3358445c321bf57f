#pragma once

#include <ostream>

#include "BuilderOptions.h"

namespace quillmere::builder {

// Builds the book `options` describe. Writes nothing when it refuses; says why on `err`.
int RunBuild(const BuildOptions& options, std::ostream& err);

}  // namespace quillmere::builder
