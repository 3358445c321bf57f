#include "app/TermsText.h"

namespace quillmere {

const char* const TermsText =
    "Use of this software requires your agreement to the following standard terms and "
    "conditions:\r\n"
    "\r\n"
    "Disclaimer and Release...\r\n"
    "This software and any information it contains are provided \"as is\", without warranties of "
    "any kind, whether express or implied, including without limitation any warranty of "
    "merchantability, fitness for a particular purpose or non-infringement. You assume the entire "
    "risk as to the use of this software. In no event shall the author, the publisher or anyone "
    "else involved in the development, sale or distribution of this software be liable for any "
    "direct, indirect, incidental, special or consequential damages arising out of its use, "
    "misuse or inability to use it, even if advised of the possibility of such damages.\r\n"
    "\r\n"
    "Severability...\r\n"
    "If any term of this agreement is held by a court of competent jurisdiction to be invalid or "
    "unenforceable, that term shall be limited or severed to the minimum extent necessary, and "
    "the remainder of this agreement shall remain valid and enforceable.\r\n"
    "\r\n"
    "Law...\r\n"
    "This agreement shall be governed by and construed in accordance with the laws of England and "
    "Wales, and is entered into in London, England. The courts of London, England shall have "
    "exclusive jurisdiction and venue for any dispute arising out of or relating to this "
    "agreement or the use of this software.";

}  // namespace quillmere
