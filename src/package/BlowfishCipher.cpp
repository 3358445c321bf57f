#include "package/BlowfishCipher.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "package/BlowfishTables.h"

namespace quillmere {

namespace {

constexpr std::size_t kKeyCapacity = 100;
constexpr std::size_t kRounds = 16;
constexpr std::size_t kPWords = kRounds + 2;
constexpr std::size_t kSWords = std::size_t{4} * 256;
constexpr std::uint32_t kBlockSize = 8;

// Writes that the compiler may not drop even though the memory is about to be released.
void Wipe(void* memory, std::size_t size) {
    volatile unsigned char* p = static_cast<volatile unsigned char*>(memory);
    for (std::size_t i = 0; i < size; ++i) p[i] = 0;
}

std::uint32_t ByteSwap(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

// Block halves are little-endian words: byte 0 of a half is its least significant byte.
std::uint32_t LoadHalf(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = ByteSwap(v);
    return v;
}

void StoreHalf(std::uint8_t* p, std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::big) v = ByteSwap(v);
    std::memcpy(p, &v, sizeof v);
}

inline std::uint32_t F(const std::uint32_t* s, std::uint32_t x) {
    return ((s[x >> 24] + s[256 + ((x >> 16) & 0xFF)]) ^ s[512 + ((x >> 8) & 0xFF)]) +
           s[768 + (x & 0xFF)];
}

// Sixteen rounds with the round keys taken in the order given: the P-array itself enciphers, the
// P-array reversed deciphers. Two rounds per step so the halves never need exchanging.
inline void Rounds(const std::uint32_t* p, const std::uint32_t* s, std::uint32_t& left,
                   std::uint32_t& right) {
    std::uint32_t x = left;
    std::uint32_t y = right;
    for (std::size_t i = 0; i < kRounds; i += 2) {
        x ^= p[i];
        y ^= F(s, x);
        y ^= p[i + 1];
        x ^= F(s, y);
    }
    left = y ^ p[kRounds + 1];
    right = x ^ p[kRounds];
}

// Four independent blocks per pass: their table lookups overlap instead of waiting on each other.
void RoundsFourBlocks(const std::uint32_t* p, const std::uint32_t* s, std::uint8_t* block) {
    std::uint32_t x0 = LoadHalf(block), y0 = LoadHalf(block + 4);
    std::uint32_t x1 = LoadHalf(block + 8), y1 = LoadHalf(block + 12);
    std::uint32_t x2 = LoadHalf(block + 16), y2 = LoadHalf(block + 20);
    std::uint32_t x3 = LoadHalf(block + 24), y3 = LoadHalf(block + 28);
    for (std::size_t i = 0; i < kRounds; i += 2) {
        const std::uint32_t even = p[i];
        x0 ^= even;
        x1 ^= even;
        x2 ^= even;
        x3 ^= even;
        y0 ^= F(s, x0);
        y1 ^= F(s, x1);
        y2 ^= F(s, x2);
        y3 ^= F(s, x3);
        const std::uint32_t odd = p[i + 1];
        y0 ^= odd;
        y1 ^= odd;
        y2 ^= odd;
        y3 ^= odd;
        x0 ^= F(s, y0);
        x1 ^= F(s, y1);
        x2 ^= F(s, y2);
        x3 ^= F(s, y3);
    }
    const std::uint32_t last = p[kRounds + 1];
    const std::uint32_t beforeLast = p[kRounds];
    StoreHalf(block, y0 ^ last);
    StoreHalf(block + 4, x0 ^ beforeLast);
    StoreHalf(block + 8, y1 ^ last);
    StoreHalf(block + 12, x1 ^ beforeLast);
    StoreHalf(block + 16, y2 ^ last);
    StoreHalf(block + 20, x2 ^ beforeLast);
    StoreHalf(block + 24, y3 ^ last);
    StoreHalf(block + 28, x3 ^ beforeLast);
}

// Enciphers or deciphers (depending on the order of `p`) every whole block of `buf[0, count)`.
void CipherWholeBlocks(const std::uint32_t* p, const std::uint32_t* s, std::uint8_t* buf,
                       std::uint32_t count) {
    std::uint32_t offset = 0;
    for (; count - offset >= 4 * kBlockSize; offset += 4 * kBlockSize) {
        RoundsFourBlocks(p, s, buf + offset);
    }
    for (; count - offset >= kBlockSize; offset += kBlockSize) {
        std::uint32_t left = LoadHalf(buf + offset);
        std::uint32_t right = LoadHalf(buf + offset + 4);
        Rounds(p, s, left, right);
        StoreHalf(buf + offset, left);
        StoreHalf(buf + offset + 4, right);
    }
}

void CopyIfApart(const std::uint8_t* data, std::uint32_t count, std::uint8_t* buf) {
    if (data != buf && count != 0) std::memmove(buf, data, count);
}

}  // namespace

CBlockCipher::CBlockCipher(const char* keyText) : Key{} {
    if (keyText == nullptr) return;
    for (std::size_t i = 0; i + 1 < kKeyCapacity && keyText[i] != '\0'; ++i) Key[i] = keyText[i];
}

CBlockCipher::~CBlockCipher() { Wipe(Key, sizeof Key); }

CBlowfishCipher::CBlowfishCipher(const char* keyText)
    : CBlockCipher(keyText),
      PArray(new std::uint32_t[kPWords]),
      SBoxes(new std::uint32_t[kSWords]) {
    std::memcpy(PArray, kInitialPArray, sizeof kInitialPArray);
    std::memcpy(SBoxes, kInitialSBoxes, sizeof kInitialSBoxes);

    // The key text cycles over the 72 bytes the P-array takes. An empty key leaves it as it is.
    const std::size_t n = std::strlen(Key);
    if (n != 0) {
        std::size_t j = 0;
        for (std::size_t i = 0; i < kPWords; ++i) {
            std::uint32_t word = 0;
            for (std::size_t k = 0; k < 4; ++k) {
                word = (word << 8) | static_cast<unsigned char>(Key[(j + k) % n]);
            }
            PArray[i] ^= word;
            j = (j + 4) % n;
        }
    }

    std::uint32_t left = 0;
    std::uint32_t right = 0;
    for (std::size_t i = 0; i < kPWords; i += 2) {
        EncryptBlock(left, right);
        PArray[i] = left;
        PArray[i + 1] = right;
    }
    for (std::size_t i = 0; i < kSWords; i += 2) {
        EncryptBlock(left, right);
        SBoxes[i] = left;
        SBoxes[i + 1] = right;
    }
}

CBlowfishCipher::~CBlowfishCipher() {
    // The tables are as telling as the key itself.
    Wipe(PArray, kPWords * sizeof *PArray);
    Wipe(SBoxes, kSWords * sizeof *SBoxes);
    delete[] PArray;
    delete[] SBoxes;
}

void CBlowfishCipher::EncryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    Rounds(PArray, SBoxes, left, right);
}

void CBlowfishCipher::DecryptBlock(std::uint32_t& left, std::uint32_t& right) const {
    std::uint32_t reversed[kPWords];
    for (std::size_t i = 0; i < kPWords; ++i) reversed[i] = PArray[kPWords - 1 - i];
    Rounds(reversed, SBoxes, left, right);
}

std::uint32_t CBlowfishCipher::EncryptBuffer(const std::uint8_t* data, std::uint32_t count,
                                             std::uint8_t* buf) {
    // A count this close to 2^32 has no padded length that 32 bits can hold.
    if (count > UINT32_MAX - (kBlockSize - 1)) return 0;
    CopyIfApart(data, count, buf);
    const std::uint32_t whole = count - count % kBlockSize;
    CipherWholeBlocks(PArray, SBoxes, buf, whole);
    if (whole == count) return count;

    // The last block is padded with zeros up to its end; `buf` must hold the padded length.
    std::uint8_t* tail = buf + whole;
    std::memset(tail + (count - whole), 0, kBlockSize - (count - whole));
    CipherWholeBlocks(PArray, SBoxes, tail, kBlockSize);
    return whole + kBlockSize;
}

std::uint32_t CBlowfishCipher::DecryptBuffer(const std::uint8_t* data, std::uint32_t count,
                                             std::uint8_t* buf) {
    CopyIfApart(data, count, buf);
    std::uint32_t reversed[kPWords];
    for (std::size_t i = 0; i < kPWords; ++i) reversed[i] = PArray[kPWords - 1 - i];
    // A trailing partial block is left as it is: deciphering it would need bytes past the end.
    CipherWholeBlocks(reversed, SBoxes, buf, count);
    return count;
}

}  // namespace quillmere
