#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillmere::testing {

// What to build a book from. Options left empty are not passed, so the builder's defaults apply.
struct BookSpec {
    std::string stub = QUILLMERE_STUB_PATH;
    // Where the book goes; required (a TempDir's File() is a good place).
    std::string outPath;
    // Packaged files in order: the name in the package and the content.
    std::vector<std::pair<std::string, std::string>> files;
    std::optional<std::string> title;
    std::optional<std::string> description;
    std::optional<std::int64_t> resellerId;
    std::optional<std::string> resellerName;
    std::optional<std::string> resellerSite;
    std::optional<std::string> resellerUrl;
    std::optional<std::int64_t> updateSeed;
    bool hideBonus = false;
};

// The builder's command line for `recipe`, with the files given by their paths.
std::vector<std::string> BuilderArguments(const BookSpec& recipe,
                                          const std::vector<std::string>& filePaths);

// Writes the files into a private temporary folder, runs quillmere-build and gives the book's path
// (recipe.outPath). Throws std::runtime_error carrying the builder's message when it refuses.
std::string BuildBook(const BookSpec& recipe);

}  // namespace quillmere::testing
