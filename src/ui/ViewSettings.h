#pragma once

#include <cstdint>

namespace quillmere {

// What the view keeps for the reader between runs of the book.
class ViewSettings {
  public:
    virtual ~ViewSettings() = default;
    // The stored zoom percentage as it stands, unchecked; kNormalZoom when there is none.
    virtual std::uint32_t ReadZoom() = 0;
    // A failure to store is of no interest to the reader.
    virtual void WriteZoom(std::uint32_t percent) = 0;
};

}  // namespace quillmere
