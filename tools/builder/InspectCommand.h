#pragma once

#include <ostream>
#include <string>

namespace quillmere::builder {

// Prints the book's records and every fault found in them; kExitSuccess only for a sound book.
int RunInspect(const std::string& bookPath, std::ostream& out, std::ostream& err);

}  // namespace quillmere::builder
