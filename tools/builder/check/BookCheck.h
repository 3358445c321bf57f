#pragma once

#include <cstdint>
#include <optional>

#include "BookContents.h"
#include "Finding.h"

namespace quillmere::builder {

// The largest book the 32-bit Windows viewer opens, until it is measured.
inline constexpr std::uint64_t kLargestI686Book = std::uint64_t{1} << 30;

// What the reader would meet in `book`: each page's and style sheet's references, zero bytes
// and tags, read from the author's bytes; then a book without pages, and a book of `bookSize`
// bytes above `sizeLimit` when there is one. Page by page in package order, by line within one.
Findings CheckBook(const BookContents& book, std::uint64_t bookSize,
                   std::optional<std::uint64_t> sizeLimit);

}  // namespace quillmere::builder
