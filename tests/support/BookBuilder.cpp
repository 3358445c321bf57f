#include "support/BookBuilder.h"

#include <stdexcept>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace quillmere::testing {

std::vector<std::string> BuilderArguments(const BookSpec& spec,
                                          const std::vector<std::string>& filePaths) {
    std::vector<std::string> args = {"--stub", spec.stub, "--out", spec.outPath};
    auto text = [&args](const char* option, const std::optional<std::string>& value) {
        if (value) args.insert(args.end(), {option, *value});
    };
    auto number = [&args](const char* option, const std::optional<std::int64_t>& value) {
        if (value) args.insert(args.end(), {option, std::to_string(*value)});
    };
    text("--title", spec.title);
    text("--description", spec.description);
    number("--reseller-id", spec.resellerId);
    text("--reseller-name", spec.resellerName);
    text("--reseller-site", spec.resellerSite);
    text("--reseller-url", spec.resellerUrl);
    number("--update-seed", spec.updateSeed);
    if (spec.hideBonus) args.push_back("--hide-bonus");
    // Every file name after "--", so a name beginning with a dash is still a file.
    args.push_back("--");
    args.insert(args.end(), filePaths.begin(), filePaths.end());
    return args;
}

std::string BuildBook(const BookSpec& spec) {
    if (spec.outPath.empty()) throw std::invalid_argument("BookSpec.outPath is required");
    TempDir inputs;
    std::vector<std::string> paths;
    for (const auto& [name, content] : spec.files) paths.push_back(inputs.Write(name, content));
    ProgramResult result = RunProgram(QUILLMERE_BUILDER_PATH, BuilderArguments(spec, paths));
    if (result.exitCode != 0) {
        throw std::runtime_error("quillmere-build failed (exit " + std::to_string(result.exitCode) +
                                 "): " + result.err);
    }
    return spec.outPath;
}

}  // namespace quillmere::testing
