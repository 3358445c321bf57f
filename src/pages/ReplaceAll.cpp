#include "pages/ReplaceAll.h"

#include <vector>

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
                const LeadBytes& lead, ReplaceBuffers& buffers) {
    if (tag.empty()) return;
    // Find every match first, so the result is built in one exactly sized string: inserted text is
    // never searched again, and the cost stays linear however many tags the page holds.
    std::vector<std::size_t>& matches = buffers.matches;
    matches.clear();
    for (std::size_t found = FindText(text, tag, 0, lead); found != kNotFound;
         found = FindText(text, tag, BoundaryAfter(text, found, tag.size(), lead), lead)) {
        matches.push_back(found);
    }
    if (matches.empty()) return;

    std::string& out = buffers.spare;
    const std::size_t size =
        text.size() - matches.size() * tag.size() + matches.size() * replacement.size();
    out.clear();
    if (out.capacity() < size) {
        // Released first, so the new buffer is this size and not double the old one; an eighth to
        // spare lets the steps after this one, which mostly grow the page a little, reuse it.
        std::string().swap(out);
        out.reserve(size + size / 8);
    }
    std::size_t copied = 0;
    for (std::size_t found : matches) {
        out.append(text, copied, found - copied);
        out.append(replacement);
        copied = found + tag.size();
    }
    out.append(text, copied, std::string::npos);
    // The old text's memory is the next call's spare.
    text.swap(out);
}

void ReplaceAll(std::string& text, std::string_view tag, std::string_view replacement,
                const LeadBytes& lead) {
    ReplaceBuffers buffers;
    ReplaceAll(text, tag, replacement, lead, buffers);
}

}  // namespace quillmere
