#include "package/ParallelDecipher.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace quillmere {

namespace {

constexpr std::uint32_t kBlockSize = 8;

}  // namespace

void DecryptInParallel(CBlowfishCipher& cipher, std::uint8_t* buf, std::uint32_t count,
                       unsigned threads) {
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    const std::uint32_t blocks = count / kBlockSize;
    const std::uint32_t byShare = std::max<std::uint32_t>(1, count / kMinimumDecipherShare);
    const std::uint32_t parts = std::min({threads, byShare, std::max<std::uint32_t>(1, blocks)});

    // Part k covers blocks [k * blocks / parts, (k + 1) * blocks / parts); the last one also takes
    // a trailing partial block, which DecryptBuffer leaves as it is.
    auto partStart = [&](std::uint32_t k) {
        return static_cast<std::uint32_t>(std::uint64_t{blocks} * k / parts) * kBlockSize;
    };
    auto decipherPart = [&](std::uint32_t k) {
        const std::uint32_t begin = partStart(k);
        const std::uint32_t end = k + 1 == parts ? count : partStart(k + 1);
        cipher.DecryptBuffer(buf + begin, end - begin, buf + begin);
    };

    std::vector<std::thread> workers;
    std::uint32_t next = 1;
    try {
        workers.reserve(parts - 1);
        for (; next < parts; ++next) workers.emplace_back(decipherPart, next);
    } catch (const std::exception&) {
        // No thread to be had: the parts not handed out are deciphered here.
    }
    decipherPart(0);
    for (std::uint32_t k = next; k < parts; ++k) decipherPart(k);
    for (std::thread& worker : workers) worker.join();
}

}  // namespace quillmere
