// OpenSSL's Blowfish serves as the independent reference; its low-level API is deprecated in 3.x.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <gtest/gtest.h>
#include <openssl/blowfish.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "package/BlowfishCipher.h"

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

// The reference: OpenSSL Blowfish in ECB mode, one block at a time, over big-endian halves.
Bytes ReferenceEncrypt(const std::string& key, Bytes data, bool encrypt = true) {
    BF_KEY schedule;
    BF_set_key(&schedule, static_cast<int>(key.size()),
               reinterpret_cast<const unsigned char*>(key.data()));
    for (std::size_t i = 0; i + 8 <= data.size(); i += 8) {
        BF_ecb_encrypt(&data[i], &data[i], &schedule, encrypt ? BF_ENCRYPT : BF_DECRYPT);
    }
    return data;
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
    for (std::size_t length : {1u, 2u, 3u, 5u, 8u, 16u, 33u, 56u, 71u, 72u}) {
        SCOPED_TRACE(length);
        const std::string key = RandomKeyText(length, static_cast<std::uint32_t>(length));
        const Bytes expected = ReverseHalves(ReferenceEncrypt(key, ReverseHalves(plain)));
        CBlowfishCipher cipher(key.c_str());

        Bytes buffer = plain;
        cipher.EncryptBuffer(buffer.data(), static_cast<std::uint32_t>(buffer.size()),
                             buffer.data());
        EXPECT_EQ(buffer, expected);

        Bytes ciphertext = RandomBytes(37 * 8, 2);
        Bytes deciphered = ciphertext;
        cipher.DecryptBuffer(deciphered.data(), static_cast<std::uint32_t>(deciphered.size()),
                             deciphered.data());
        EXPECT_EQ(deciphered,
                  ReverseHalves(ReferenceEncrypt(key, ReverseHalves(ciphertext), false)));
    }
}

TEST(BlowfishCipher, KeyTextBeyond72CharactersHasNoEffect) {
    const std::string longKey = RandomKeyText(244, 7);
    const Bytes plain = RandomBytes(64, 3);
    const Bytes expected = Encrypt(longKey.substr(0, 72), plain);
    EXPECT_EQ(expected,
              ReverseHalves(ReferenceEncrypt(longKey.substr(0, 72), ReverseHalves(plain))));
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
    };
    for (Case c : {Case{0, 0}, Case{1, 8}, Case{7, 8}, Case{8, 8}, Case{16, 16}, Case{21, 24}}) {
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
        EXPECT_EQ(enciphered,
                  ReverseHalves(ReferenceEncrypt("padding key", ReverseHalves(expectedPlain))));
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
