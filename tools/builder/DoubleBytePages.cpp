#include "DoubleBytePages.h"

#include "package/PlainFileName.h"
#include "platform/LeadBytes.h"

namespace quillmere::builder {

std::vector<unsigned> DoubleBytePagesWherePlain(const std::string& name) {
    std::vector<unsigned> pages;
    for (unsigned page : {932u, 936u, 949u, 950u}) {
        if (IsPlainFileName(name, LeadBytes(page))) pages.push_back(page);
    }
    return pages;
}

}  // namespace quillmere::builder
