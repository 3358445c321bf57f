#include "LineIndex.h"

#include <algorithm>

namespace quillmere::builder {

LineIndex::LineIndex(std::string_view text) {
    // No trail byte of a two-byte character is '\n', so the bytes can be counted as they come.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') lineBreaks_.push_back(i);
    }
}

std::size_t LineIndex::LineOf(std::size_t offset) const {
    return static_cast<std::size_t>(
               std::lower_bound(lineBreaks_.begin(), lineBreaks_.end(), offset) -
               lineBreaks_.begin()) +
           1;
}

}  // namespace quillmere::builder
