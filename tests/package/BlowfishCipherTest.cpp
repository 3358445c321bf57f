// OpenSSL's Blowfish serves as the independent reference. Its answers are also recorded here as
// digests, so that a build without it checks the same.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "package/BlowfishCipher.h"
#include "support/ReferenceBlowfish.h"

namespace quillmere {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromHex(std::string_view hex) {
    Bytes out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out.push_back(
            static_cast<std::uint8_t>(std::stoul(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return out;
}

std::uint32_t BigEndianWord(const Bytes& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// Our blocks hold little-endian halves; the reference works on big-endian ones.
Bytes ReverseHalves(Bytes b) {
    for (std::size_t i = 0; i + 4 <= b.size(); i += 4) {
        std::swap(b[i], b[i + 3]);
        std::swap(b[i + 1], b[i + 2]);
    }
    return b;
}

std::string KeyText(const Bytes& key) { return std::string(key.begin(), key.end()); }

// FNV-1a, 64 bits.
std::uint64_t Digest(const Bytes& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (std::uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3u;
    return hash;
}

// `actual` is what the reference gives for `input` under `key` (in our byte order), and its
// digest is the answer recorded from the reference.
void ExpectReferenceAnswer(const Bytes& actual, const std::string& key, const Bytes& input,
                           bool encrypt, std::uint64_t recorded) {
    EXPECT_EQ(Digest(actual), recorded) << "the recorded answer";
    if (auto reference = testing::ReferenceBlowfish(key, ReverseHalves(input), encrypt)) {
        EXPECT_EQ(actual, ReverseHalves(*reference));
    }
}

Bytes RandomBytes(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng());
    return out;
}

// Random key text without zero bytes, which would end it.
std::string RandomKeyText(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::string out(n, '\0');
    for (auto& c : out) c = static_cast<char>(1 + rng() % 255);
    return out;
}

Bytes Encrypt(const std::string& key, Bytes data) {
    CBlowfishCipher cipher(key.c_str());
    data.resize((data.size() + 7) / 8 * 8);
    cipher.EncryptBuffer(data.data(), static_cast<std::uint32_t>(data.size()), data.data());
    return data;
}

struct PublishedVector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Published Blowfish vectors whose keys hold no zero byte (a zero would end the key text),
// including the variable-length prefixes of F0E1D2C3B4A5968778695A4B3C2D1E0F.
const PublishedVector kPublishedVectors[] = {
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
    {"F0E1", "FEDCBA9876543210", "E91D21C1D961A6D6"},
    {"F0E1D2", "FEDCBA9876543210", "E9C2B70A1BC65CF3"},
    {"F0E1D2C3B4", "FEDCBA9876543210", "B39E44481BDB1E6E"},
    {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
    {"F0E1D2C3B4A5968778", "FEDCBA9876543210", "15750E7A4F4EC577"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F", "FEDCBA9876543210", "93142887EE3BE15C"},
};

TEST(BlowfishCipher, ReproducesPublishedVectorsOnBlocksAndOnByteReversedBuffers) {
    for (const auto& v : kPublishedVectors) {
        SCOPED_TRACE(v.key);
        const std::string key = KeyText(FromHex(v.key));
        const Bytes plain = FromHex(v.plain);
        const Bytes expected = FromHex(v.cipher);
        CBlowfishCipher cipher(key.c_str());

        std::uint32_t left = BigEndianWord(plain, 0), right = BigEndianWord(plain, 4);
        cipher.EncryptBlock(left, right);
        EXPECT_EQ(left, BigEndianWord(expected, 0));
        EXPECT_EQ(right, BigEndianWord(expected, 4));
        cipher.DecryptBlock(left, right);
        EXPECT_EQ(left, BigEndianWord(plain, 0));
        EXPECT_EQ(right, BigEndianWord(plain, 4));

        Bytes buffer = ReverseHalves(plain);
        EXPECT_EQ(cipher.EncryptBuffer(buffer.data(), 8, buffer.data()), 8u);
        EXPECT_EQ(buffer, ReverseHalves(expected));
        EXPECT_EQ(cipher.DecryptBuffer(buffer.data(), 8, buffer.data()), 8u);
        EXPECT_EQ(buffer, ReverseHalves(plain));
    }
}

TEST(BlowfishCipher, AgreesWithOpenSslForKeysUpTo72Bytes) {
    // 37 blocks: nine groups of four plus one, so both the grouped and the single path run.
    const Bytes plain = RandomBytes(37 * 8, 1);
    const Bytes ciphertext = RandomBytes(37 * 8, 2);
    const struct {
        std::size_t length;
        std::uint64_t encrypted;
        std::uint64_t decrypted;
    } cases[] = {
        {1, 0x7ad06df1aa36c36e, 0x70f965e152434048},  {2, 0xe773818b1ced5311, 0x3b6dfc4a6df38c89},
        {3, 0x5eb5be933f8029c4, 0x66d0ba5273f9ea8e},  {5, 0x94ac3f032e630989, 0x85c1d5a242ccdac1},
        {8, 0x2a116129fbb76e23, 0x36131b8a69c020e9},  {16, 0xed88f4cd252f4da6, 0x89cbd25017d8479e},
        {33, 0x465aa6a33a5023c3, 0xe96f7f1d9f48756e}, {56, 0x53b680bb3f945c11, 0xc2de8ded701c407f},
        {71, 0x7ce4f22acd3f4d10, 0xaba810508f66ca9b}, {72, 0xe210d19a2eb47a86, 0xe588ccd03ea30f74},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string key = RandomKeyText(c.length, static_cast<std::uint32_t>(c.length));
        CBlowfishCipher cipher(key.c_str());

        Bytes buffer = plain;
        cipher.EncryptBuffer(buffer.data(), static_cast<std::uint32_t>(buffer.size()),
                             buffer.data());
        ExpectReferenceAnswer(buffer, key, plain, true, c.encrypted);

        Bytes deciphered = ciphertext;
        cipher.DecryptBuffer(deciphered.data(), static_cast<std::uint32_t>(deciphered.size()),
                             deciphered.data());
        ExpectReferenceAnswer(deciphered, key, ciphertext, false, c.decrypted);
    }
}

TEST(BlowfishCipher, KeyTextBeyond72CharactersHasNoEffect) {
    const std::string longKey = RandomKeyText(244, 7);
    const Bytes plain = RandomBytes(64, 3);
    const Bytes expected = Encrypt(longKey.substr(0, 72), plain);
    ExpectReferenceAnswer(expected, longKey.substr(0, 72), plain, true, 0x12a6c400662ff7eb);
    for (std::size_t length : {73u, 99u, 100u, 244u}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(Encrypt(longKey.substr(0, length), plain), expected);
    }
}

TEST(BlowfishCipher, OneCharacterKeyIsUsedSeventyTwoTimes) {
    const Bytes plain = RandomBytes(32, 4);
    const Bytes expected = Encrypt(std::string(72, 'k'), plain);
    EXPECT_EQ(Encrypt("k", plain), expected);
    EXPECT_NE(Encrypt("j", plain), expected);
}

// Sees the stored key text, which is what the base class keeps of its argument.
class KeyProbe : public CBlockCipher {
  public:
    using CBlockCipher::CBlockCipher;
    std::uint32_t EncryptBuffer(const std::uint8_t*, std::uint32_t, std::uint8_t*) override {
        return 0;
    }
    std::uint32_t DecryptBuffer(const std::uint8_t*, std::uint32_t, std::uint8_t*) override {
        return 0;
    }
    std::string Stored() const { return std::string(Key, sizeof Key); }
};

TEST(BlowfishCipher, KeepsAtMost99CharactersOfTheKeyText) {
    const std::string text = RandomKeyText(150, 9);
    EXPECT_EQ(KeyProbe(text.c_str()).Stored(), text.substr(0, 99) + '\0');
    EXPECT_EQ(KeyProbe("abc").Stored(), std::string("abc") + std::string(97, '\0'));
}

TEST(BlowfishCipher, EncryptBufferPadsTheLastBlockWithZeros) {
    CBlowfishCipher cipher("padding key");
    struct Case {
        std::uint32_t count;
        std::uint32_t padded;
        std::uint64_t recorded;
    };
    for (Case c : {Case{0, 0, 0xcbf29ce484222325}, Case{1, 8, 0x7605475aba1e3303},
                   Case{7, 8, 0x1148e2c8b0d47d41}, Case{8, 8, 0xecc63bad8123c7c9},
                   Case{16, 16, 0xe1da5f45751a5be4}, Case{21, 24, 0xbbc5313e31bcada3}}) {
        SCOPED_TRACE(c.count);
        const Bytes plain = RandomBytes(c.count, c.count);
        // Two guard bytes past the padded length must come through untouched.
        Bytes buffer(c.padded + 2, 0xAA);
        std::copy(plain.begin(), plain.end(), buffer.begin());
        EXPECT_EQ(cipher.EncryptBuffer(buffer.data(), c.count, buffer.data()), c.padded);
        EXPECT_EQ(buffer[c.padded], 0xAA);
        EXPECT_EQ(buffer[c.padded + 1], 0xAA);

        Bytes expectedPlain = plain;
        expectedPlain.resize(c.padded, 0);
        const Bytes enciphered(buffer.begin(), buffer.begin() + c.padded);
        ExpectReferenceAnswer(enciphered, "padding key", expectedPlain, true, c.recorded);
        EXPECT_EQ(cipher.DecryptBuffer(buffer.data(), c.padded, buffer.data()), c.padded);
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + c.padded), expectedPlain);
    }
}

TEST(BlowfishCipher, SeparateBuffersLeaveTheSourceAlone) {
    CBlowfishCipher cipher("separate");
    const Bytes plain = RandomBytes(45, 5);
    Bytes inPlace = plain;
    inPlace.resize(48);
    cipher.EncryptBuffer(inPlace.data(), 45, inPlace.data());

    const Bytes source = plain;
    Bytes destination(48, 0x55);
    EXPECT_EQ(cipher.EncryptBuffer(source.data(), 45, destination.data()), 48u);
    EXPECT_EQ(source, plain);
    EXPECT_EQ(destination, inPlace);

    Bytes back(48, 0x55);
    EXPECT_EQ(cipher.DecryptBuffer(destination.data(), 48, back.data()), 48u);
    EXPECT_EQ(destination, inPlace);
    EXPECT_EQ(Bytes(back.begin(), back.begin() + 45), plain);
}

TEST(BlowfishCipher, DecryptBufferLeavesATrailingPartialBlockAsItIs) {
    CBlowfishCipher cipher("partial");
    const Bytes plain = RandomBytes(16, 6);
    Bytes enciphered = plain;
    cipher.EncryptBuffer(enciphered.data(), 16, enciphered.data());

    // Exactly sized heap buffers: any access past the count is an overrun the sanitizer reports.
    for (std::uint32_t count : {3u, 13u}) {
        SCOPED_TRACE(count);
        Bytes expected(enciphered.begin(), enciphered.begin() + count);
        if (count >= 8) std::copy(plain.begin(), plain.begin() + 8, expected.begin());

        auto inPlace = std::make_unique<std::uint8_t[]>(count);
        std::copy(enciphered.begin(), enciphered.begin() + count, inPlace.get());
        EXPECT_EQ(cipher.DecryptBuffer(inPlace.get(), count, inPlace.get()), count);
        EXPECT_EQ(Bytes(inPlace.get(), inPlace.get() + count), expected);

        auto source = std::make_unique<std::uint8_t[]>(count);
        auto destination = std::make_unique<std::uint8_t[]>(count);
        std::copy(enciphered.begin(), enciphered.begin() + count, source.get());
        EXPECT_EQ(cipher.DecryptBuffer(source.get(), count, destination.get()), count);
        EXPECT_EQ(Bytes(destination.get(), destination.get() + count), expected);
    }
}

TEST(BlowfishCipher, EncryptBufferRefusesACountWhosePaddingCannotBeCounted) {
    CBlowfishCipher cipher("huge");
    Bytes buffer(8, 0x11);
    EXPECT_EQ(cipher.EncryptBuffer(buffer.data(), 0xFFFFFFFFu, buffer.data()), 0u);
    EXPECT_EQ(buffer, Bytes(8, 0x11));
}

}  // namespace
}  // namespace quillmere
