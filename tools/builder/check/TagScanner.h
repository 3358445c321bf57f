#pragma once

#include <string>
#include <string_view>

#include "Finding.h"
#include "LineIndex.h"
#include "platform/LeadBytes.h"

namespace quillmere::builder {

// Walks a page's text character by character for the words the viewer rewrites: RVX_ words that
// are no tag (a misspelling, the wrong case), tags the viewer uses only once, and bonus markers
// that do not pair up or hide a comment's end.
class TagScanner {
  public:
    TagScanner(std::string_view text, const std::string& page, const LeadBytes& lead,
               Findings& findings);

    void Scan();

  private:
    // Length of the tag that the word at `at` starts with, or 0 for none.
    std::size_t KnownTag(std::size_t at);
    void Unknown(std::size_t at);
    void Add(FindingKind kind, std::size_t at, std::string message);

    std::string_view text_;
    const std::string& page_;
    const LeadBytes& lead_;
    Findings& findings_;
    LineIndex lines_;
    bool inBonus_ = false;
    std::size_t bonusStart_ = 0;
    int versionTags_ = 0;
    int softwareTags_ = 0;
};

}  // namespace quillmere::builder
