#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quillmere::builder {

// Line numbers of byte offsets in one text: 1 for the first line, counting '\n'.
class LineIndex {
  public:
    explicit LineIndex(std::string_view text);

    std::size_t LineOf(std::size_t offset) const;

  private:
    std::vector<std::size_t> lineBreaks_;
};

}  // namespace quillmere::builder
