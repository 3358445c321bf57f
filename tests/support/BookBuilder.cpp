#include "support/BookBuilder.h"

#include <stdexcept>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace quillmere::testing {

std::vector<std::string> BuilderArguments(const BookSpec& recipe,
                                          const std::vector<std::string>& filePaths) {
    std::vector<std::string> args = {"--stub", recipe.stub, "--out", recipe.outPath};
    auto text = [&args](const char* option, const std::optional<std::string>& value) {
        if (value) args.insert(args.end(), {option, *value});
    };
    auto number = [&args](const char* option, const std::optional<std::int64_t>& value) {
        if (value) args.insert(args.end(), {option, std::to_string(*value)});
    };
    text("--title", recipe.title);
    text("--description", recipe.description);
    number("--reseller-id", recipe.resellerId);
    text("--reseller-name", recipe.resellerName);
    text("--reseller-site", recipe.resellerSite);
    text("--reseller-url", recipe.resellerUrl);
    number("--update-seed", recipe.updateSeed);
    if (recipe.hideBonus) args.push_back("--hide-bonus");
    // Every file name after "--", so a name beginning with a dash is still a file.
    args.push_back("--");
    args.insert(args.end(), filePaths.begin(), filePaths.end());
    return args;
}

std::string BuildBook(const BookSpec& recipe) {
    if (recipe.outPath.empty()) throw std::invalid_argument("BookSpec.outPath is required");
    TempDir inputs;
    std::vector<std::string> paths;
    for (const auto& [name, content] : recipe.files) paths.push_back(inputs.Write(name, content));
    ProgramResult result = RunProgram(QUILLMERE_BUILDER_PATH, BuilderArguments(recipe, paths));
    if (result.exitCode != 0) {
        throw std::runtime_error("quillmere-build failed (exit " + std::to_string(result.exitCode) +
                                 "): " + result.err);
    }
    return recipe.outPath;
}

}  // namespace quillmere::testing
