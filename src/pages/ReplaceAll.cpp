#include "pages/ReplaceAll.h"

#include "package/MultibyteText.h"

namespace quillmere {

namespace {

// Index just past `length` bytes of text starting at the boundary `from`, moved forward to the next
// character boundary should those bytes end on a lead byte.
std::size_t BoundaryAfter(std::string_view text, std::size_t from, std::size_t length,
                          const LeadBytes& lead) {
    if (!lead.Any()) return from + length;
    std::size_t i = from;
    const std::size_t end = from + length;
    while (i < end) {
        const bool twoBytes =
            lead.IsLead(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        i += twoBytes ? 2 : 1;
    }
    return i;
}

}  // namespace

void ReplaceAll(std::string& text, std::string_view tag, std::string_view replacement,
                const LeadBytes& lead) {
    if (tag.empty()) return;
    std::size_t found = FindText(text, tag, 0, lead);
    if (found == kNotFound) return;

    // One pass over the original text into a new string: inserted text is never searched again,
    // and the cost stays linear however many tags the page holds.
    std::string out;
    std::size_t reserve = text.size();
    if (replacement.size() > tag.size()) reserve += 4 * (replacement.size() - tag.size());
    out.reserve(reserve);

    std::size_t copied = 0;
    while (found != kNotFound) {
        out.append(text, copied, found - copied);
        out.append(replacement);
        // The bytes copied next start at the end of the tag; the search resumes at the next
        // character boundary, which is the same place unless the tag ends on a lead byte.
        copied = found + tag.size();
        found = FindText(text, tag, BoundaryAfter(text, found, tag.size(), lead), lead);
    }
    out.append(text, copied, std::string::npos);
    text = std::move(out);
}

}  // namespace quillmere
