#include "../SigningTool.h"

namespace quillmere::builder {

const bool kSignsBooks = false;

std::optional<ToolRun> RunSigningTool(const std::vector<std::string>&, std::string& error) {
    error = "osslsigncode is not run on Windows; signtool verify /pa BOOK checks a signature";
    return std::nullopt;
}

}  // namespace quillmere::builder
