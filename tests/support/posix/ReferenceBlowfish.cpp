// OpenSSL's Blowfish; its low-level API is deprecated in 3.x.
#define OPENSSL_SUPPRESS_DEPRECATED
#include "support/ReferenceBlowfish.h"

#include <openssl/blowfish.h>

namespace quillmere::testing {

std::optional<std::vector<std::uint8_t>> ReferenceBlowfish(const std::string& key,
                                                           std::vector<std::uint8_t> data,
                                                           bool encrypt) {
    BF_KEY schedule;
    BF_set_key(&schedule, static_cast<int>(key.size()),
               reinterpret_cast<const unsigned char*>(key.data()));
    for (std::size_t i = 0; i + 8 <= data.size(); i += 8) {
        BF_ecb_encrypt(&data[i], &data[i], &schedule, encrypt ? BF_ENCRYPT : BF_DECRYPT);
    }
    return data;
}

}  // namespace quillmere::testing
