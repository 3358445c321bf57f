#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quillmere::fuzzing {

// Reads a fuzz input as fields that each end at a zero byte, so seeds can be written by hand.
class FuzzFields {
  public:
    FuzzFields(const std::uint8_t* data, std::size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    // The next field without its zero byte; empty once the input is used up.
    std::string Next() {
        std::size_t end = at_;
        while (end < size_ && data_[end] != '\0') ++end;
        std::string field(data_ + at_, end - at_);
        at_ = end < size_ ? end + 1 : end;
        return field;
    }

    // Everything not yet read, zero bytes included.
    std::string Rest() {
        std::string rest(data_ + at_, size_ - at_);
        at_ = size_;
        return rest;
    }

  private:
    const char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A decimal number with optional minus sign, wrapping at 32 bits like the registry's numbers.
inline std::uint32_t ParseNumber(const std::string& text) {
    std::uint32_t value = 0;
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) i = 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    return negative ? 0u - value : value;
}

[[noreturn]] inline void FuzzFault(const char* check, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, check);
    std::abort();
}

}  // namespace quillmere::fuzzing

// A property every input must keep; a broken one is a fault the fuzzer reports.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) ::quillmere::fuzzing::FuzzFault(#condition, __FILE__, __LINE__); \
    } while (false)
