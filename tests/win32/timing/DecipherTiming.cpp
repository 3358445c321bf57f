// Times the viewer's deciphering of a 64 MiB package in place, on one thread and on every core, and
// prints the best of several rounds in MiB/s. Google Benchmark has no mingw-w64 build, so the
// Windows programs are timed by this one. Each round's result is checked against the plain text,
// so a round that did no work cannot report a speed.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "package/BlowfishCipher.h"
#include "package/ParallelDecipher.h"

namespace {

constexpr std::uint32_t kBytes = 64u << 20;
constexpr int kRounds = 5;

using Decipher = void (*)(quillmere::CBlowfishCipher&, std::uint8_t*, std::uint32_t);

double BestMibPerSecond(quillmere::CBlowfishCipher& cipher, const std::vector<std::uint8_t>& plain,
                        const std::vector<std::uint8_t>& enciphered, Decipher decipher) {
    std::vector<std::uint8_t> work(kBytes);
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::memcpy(work.data(), enciphered.data(), kBytes);
        const auto start = std::chrono::steady_clock::now();
        decipher(cipher, work.data(), kBytes);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (work != plain) return -1;
        best = std::max(best, (kBytes / double(1u << 20)) / took.count());
    }
    return best;
}

}  // namespace

int main() {
    quillmere::CBlowfishCipher cipher("decipher timing key");
    std::vector<std::uint8_t> plain(kBytes);
    std::uint32_t state = 2463534242u;
    for (auto& byte : plain) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state);
    }
    std::vector<std::uint8_t> enciphered(kBytes);
    cipher.EncryptBuffer(plain.data(), kBytes, enciphered.data());

    const double one = BestMibPerSecond(cipher, plain, enciphered,
                                        [](quillmere::CBlowfishCipher& c, std::uint8_t* b,
                                           std::uint32_t n) { c.DecryptBuffer(b, n, b); });
    const double all =
        BestMibPerSecond(cipher, plain, enciphered,
                         [](quillmere::CBlowfishCipher& c, std::uint8_t* b, std::uint32_t n) {
                             quillmere::DecryptInParallel(c, b, n);
                         });
    if (one < 0 || all < 0) {
        std::printf("deciphered bytes differ from the plain text\n");
        return 1;
    }
    std::printf("pointer bits: %u\n", unsigned(sizeof(void*) * 8));
    std::printf("decipher 64 MiB in place, one thread: %.1f MiB/s\n", one);
    std::printf("decipher 64 MiB in place, %u threads: %.1f MiB/s\n",
                std::max(1u, std::thread::hardware_concurrency()), all);
    return 0;
}
