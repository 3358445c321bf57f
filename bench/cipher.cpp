// Deciphering a 64 MiB package in place: our Blowfish against OpenSSL's, same key, same bytes;
// then one thread against every core.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <benchmark/benchmark.h>
#include <openssl/blowfish.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "package/BlowfishCipher.h"
#include "package/PackageKey.h"
#include "package/ParallelDecipher.h"

namespace {

constexpr std::size_t kPackageSize = 64u << 20;

std::vector<std::uint8_t> RandomPackage() {
    std::vector<std::uint8_t> bytes(kPackageSize);
    std::mt19937_64 rng(42);
    for (std::size_t i = 0; i < bytes.size(); i += 8) {
        const std::uint64_t v = rng();
        for (int k = 0; k < 8; ++k) bytes[i + k] = static_cast<std::uint8_t>(v >> (8 * k));
    }
    return bytes;
}

// Our schedule reads the first 72 characters of the key text, the same bytes OpenSSL is given.
const std::string& KeyText() {
    static const std::string key = quillmere::BuildPackageKey();
    return key;
}

void OpenSslKey(BF_KEY& schedule) {
    BF_set_key(&schedule, 72, reinterpret_cast<const unsigned char*>(KeyText().data()));
}

// OpenSSL works on big-endian halves, ours on little-endian ones: the two agree on a block once
// each half's bytes are reversed. Checked here so the figures compare the same work.
bool SameResult() {
    std::vector<std::uint8_t> ours(4096), theirs(4096);
    std::mt19937 rng(7);
    for (std::size_t i = 0; i < ours.size(); ++i) ours[i] = static_cast<std::uint8_t>(rng());
    for (std::size_t i = 0; i < ours.size(); i += 4) {
        for (int k = 0; k < 4; ++k) theirs[i + k] = ours[i + 3 - k];
    }
    quillmere::CBlowfishCipher cipher(KeyText().c_str());
    cipher.DecryptBuffer(ours.data(), static_cast<std::uint32_t>(ours.size()), ours.data());
    BF_KEY schedule;
    OpenSslKey(schedule);
    for (std::size_t i = 0; i < theirs.size(); i += 8) {
        BF_ecb_encrypt(&theirs[i], &theirs[i], &schedule, BF_DECRYPT);
    }
    for (std::size_t i = 0; i < ours.size(); ++i) {
        if (ours[i] != theirs[(i & ~std::size_t{3}) + 3 - (i & 3)]) return false;
    }
    return true;
}

void BM_DecryptBuffer(benchmark::State& state) {
    std::vector<std::uint8_t> package = RandomPackage();
    quillmere::CBlowfishCipher cipher(KeyText().c_str());
    for (auto _ : state) {
        cipher.DecryptBuffer(package.data(), static_cast<std::uint32_t>(package.size()),
                             package.data());
        benchmark::DoNotOptimize(package.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * package.size()));
}
BENCHMARK(BM_DecryptBuffer)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One thread against every core over the same package, interleaved so that other work on the
// machine weighs on both alike: wall-clock seconds of each pass, and the median of the ratios.
struct CoresFigures {
    double oneCore = 0;
    double allCores = 0;
    double ratio = 0;
};

CoresFigures CompareCores(int rounds) {
    std::vector<std::uint8_t> package = RandomPackage();
    quillmere::CBlowfishCipher cipher(KeyText().c_str());
    const auto size = static_cast<std::uint32_t>(package.size());
    auto seconds = [&](unsigned threads) {
        const auto start = std::chrono::steady_clock::now();
        quillmere::DecryptInParallel(cipher, package.data(), size, threads);
        benchmark::DoNotOptimize(package.data());
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<double> one, all, ratios;
    for (int i = 0; i < rounds; ++i) {
        one.push_back(seconds(1));
        all.push_back(seconds(0));
        ratios.push_back(one.back() / all.back());
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    return {median(one), median(all), median(ratios)};
}

void BM_OpenSslEcbDecrypt(benchmark::State& state) {
    std::vector<std::uint8_t> package = RandomPackage();
    BF_KEY schedule;
    OpenSslKey(schedule);
    for (auto _ : state) {
        for (std::size_t i = 0; i < package.size(); i += 8) {
            BF_ecb_encrypt(&package[i], &package[i], &schedule, BF_DECRYPT);
        }
        benchmark::DoNotOptimize(package.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * package.size()));
}
BENCHMARK(BM_OpenSslEcbDecrypt)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Prints as usual and keeps each run's throughput for the summary.
class ThroughputReporter : public benchmark::ConsoleReporter {
  public:
    ThroughputReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end()) throughput[run.benchmark_name()] = it->second.value;
        }
    }
    std::map<std::string, double> throughput;
};

}  // namespace

int main(int argc, char** argv) {
    if (!SameResult()) {
        std::fprintf(stderr, "the two ciphers disagree; figures would be meaningless\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    ThroughputReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double mib = 1024.0 * 1024.0;
    const auto ours = reporter.throughput.find("BM_DecryptBuffer/min_time:2.000");
    const auto theirs = reporter.throughput.find("BM_OpenSslEcbDecrypt/min_time:2.000");
    if (ours == reporter.throughput.end() || theirs == reporter.throughput.end()) return 0;
    std::printf("\nDecryptBuffer (64 MiB, in place): %.1f MiB/s\n", ours->second / mib);
    std::printf("OpenSSL BF_ecb_encrypt per block: %.1f MiB/s\n", theirs->second / mib);
    std::printf("ratio ours / OpenSSL:             %.2fx (goal: at least 1.50x)\n",
                ours->second / theirs->second);

    const CoresFigures cores = CompareCores(9);
    const double megabytes = static_cast<double>(kPackageSize) / mib;
    std::printf("\nwall clock, 64 MiB, median of 9 interleaved rounds:\n");
    std::printf("one thread:                       %.1f MiB/s\n", megabytes / cores.oneCore);
    std::printf("all %u cores:                      %.1f MiB/s\n",
                std::thread::hardware_concurrency(), megabytes / cores.allCores);
    std::printf("ratio all cores / one thread:     %.2fx (goal on 2 cores: at least 1.80x)\n",
                cores.ratio);
    return 0;
}
