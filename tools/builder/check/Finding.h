#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere::builder {

// The kinds of finding, each silenced by --allow with its name.
enum class FindingKind {
    Missing,
    Case,
    Folder,
    Absolute,
    Https,
    Scheme,
    ExeLink,
    Launch,
    Download,
    ZeroByte,
    Bonus,
    Tag,
    NoPage,
    Size,
};

struct Finding {
    // The packaged file the finding is about; empty for the book as a whole.
    std::string page;
    // 1 for the first line; 0 when the finding has no line.
    std::size_t line = 0;
    FindingKind kind = FindingKind::Missing;
    std::string message;
};

using Findings = std::vector<Finding>;

// The name --allow takes ("https", "exe-link", ...).
std::string_view KindName(FindingKind kind);
// How a count of them reads ("https links").
std::string_view KindPlural(FindingKind kind);
// The kind called `name`, or false.
bool KindByName(std::string_view name, FindingKind& kind);
// Every kind's name, comma separated, for messages.
std::string KindNames();

}  // namespace quillmere::builder
