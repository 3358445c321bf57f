#include "platform/LeadBytes.h"

namespace quillmere {

LeadBytes::LeadBytes(unsigned codePage) {
    switch (codePage) {
        case 932:  // Shift-JIS
            MarkRange(0x81, 0x9F);
            MarkRange(0xE0, 0xFC);
            break;
        case 936:  // GBK
        case 949:  // Unified Hangul Code
        case 950:  // Big5
            MarkRange(0x81, 0xFE);
            break;
        default:
            break;
    }
}

void LeadBytes::MarkRange(unsigned first, unsigned last) {
    for (unsigned b = first; b <= last; ++b) table_[b] = true;
    any_ = true;
}

}  // namespace quillmere
