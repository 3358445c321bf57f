#pragma once

#include <array>
#include <cstdint>

namespace quillmere {

// Which bytes begin a two-byte character in an ANSI code page. Only the double-byte code pages
// (932, 936, 949, 950) have lead bytes; UTF-8 and the single-byte pages have none, so every byte
// stands for itself in a search.
class LeadBytes {
  public:
    LeadBytes() = default;  // no lead bytes
    explicit LeadBytes(unsigned codePage);

    bool IsLead(std::uint8_t byte) const { return table_[byte]; }
    bool Any() const { return any_; }

  private:
    void MarkRange(unsigned first, unsigned last);

    std::array<bool, 256> table_{};
    bool any_ = false;
};

}  // namespace quillmere
