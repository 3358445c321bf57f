#include "records/RecordText.h"

#include <algorithm>

namespace quillmere {

std::string ReadFieldText(const std::uint8_t* field, std::size_t width) {
    const std::uint8_t* end = std::find(field, field + width, std::uint8_t{0});
    return std::string(field, end);
}

}  // namespace quillmere
