#include <iostream>
#include <string>
#include <vector>

#include "BuildCommand.h"
#include "BuilderOptions.h"
#include "InspectCommand.h"
#include "RebrandCommand.h"

int main(int argc, char** argv) {
    using namespace quillmere::builder;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::cerr << UsageText() << "Try 'quillmere-build --help' for more information.\n";
        return kExitUsage;
    }
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "quillmere-build: " << parsed.error << '\n'
                  << "Try 'quillmere-build --help' for more information.\n";
        return kExitUsage;
    }
    switch (parsed.command) {
        case Command::Help:
            std::cout << HelpText();
            return kExitSuccess;
        case Command::Inspect:
            return RunInspect(parsed.inspectPath, parsed.build, std::cout, std::cerr);
        case Command::Rebrand:
            return RunRebrand(parsed.rebrandPath, parsed.build, std::cout, std::cerr);
        case Command::Build:
            break;
    }
    return RunBuild(parsed.build, std::cout, std::cerr);
}
