#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "BookContents.h"
#include "Finding.h"

namespace quillmere::builder {

// A link is followed by the reader (a, area); a resource is loaded with the page (img, link,
// script, background, url()).
enum class ReferenceUse { Link, Resource };

// Adds to `findings` what the viewer would do wrong with `value`, a reference as written on line
// `line` of `page`, classified as the viewer classifies a navigation.
void CheckReference(std::string_view value, ReferenceUse use, const BookContents& book,
                    const std::string& page, std::size_t line, Findings& findings);

}  // namespace quillmere::builder
