#include "package/PlainFileName.h"

namespace quillmere {

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("/\\:") == std::string_view::npos;
}

}  // namespace quillmere
