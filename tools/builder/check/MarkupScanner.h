#pragma once

#include <string>
#include <string_view>

#include "BookContents.h"
#include "Finding.h"
#include "LineIndex.h"

namespace quillmere::builder {

// Walks a page's markup character by character and checks every reference it makes: href, src
// and background attributes, and url() in style attributes and style elements. Comments and
// scripts are skipped. Any bytes are accepted; nothing is read outside `text`.
class MarkupScanner {
  public:
    MarkupScanner(std::string_view text, const std::string& page, const BookContents& book,
                  Findings& findings);

    void Scan();

    // Checks the url() references of the style sheet text in [begin, end) of the text.
    void ScanStyle(std::size_t begin, std::size_t end);

  private:
    void ScanTag();
    void SkipPast(std::string_view closer, bool ignoreCase);
    void CheckAttribute(const std::string& tag, const std::string& attribute,
                        std::size_t valueBegin, std::size_t valueEnd);
    bool At(std::size_t i, std::string_view word, bool ignoreCase) const;
    void Advance() { at_ += CharLength(text_, at_, book_.Lead()); }

    std::string_view text_;
    const std::string& page_;
    const BookContents& book_;
    Findings& findings_;
    LineIndex lines_;
    std::size_t at_ = 0;
};

}  // namespace quillmere::builder
