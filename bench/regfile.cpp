// The registry file: one advert-store read per prepared page (parse the whole file, take one
// key), and one locked, synced value write.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "pages/AdvertStore.h"
#include "platform/posix/RegFileRegistry.h"

namespace {

// Wrapped as Windows' registry editor wraps hex lists: 25 bytes a line with a trailing backslash.
std::string HexValue(const std::string& name, std::size_t length, unsigned seed) {
    std::string line = "\"" + name + "\"=hex:";
    char item[4];
    for (std::size_t i = 0; i < length; ++i) {
        std::snprintf(item, sizeof item, "%02x", static_cast<unsigned>((i * 7 + seed) & 0xFF));
        line += item;
        if (i + 1 < length) line += (i % 25 == 24) ? ",\\\r\n  " : ",";
    }
    return line + "\r\n";
}

// A store with `adverts` adverts, each with its texts and a picture of `pictureBytes`.
std::string StoreText(int adverts, std::size_t pictureBytes) {
    std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\Tallowbrook\\Adverts]\r\n"
        "\"SWUPD\"=\" 620_12 638_3 700_1\"\r\n";
    for (int n = 1; n <= adverts; ++n) {
        std::string p = "M" + std::to_string(n) + "-";
        text += "\"" + p + "V1\"=dword:00000001\r\n";
        text += "\"" + p + "V2\"=\"Garden Planner 2027\"\r\n";
        text += "\"" + p + "V3\"=\"Plan every bed of your garden, week by week.\"\r\n";
        text += "\"" + p + "V4\"=\"http://www.example.org/garden-planner\"\r\n";
        text += "\"" + p + "V6\"=dword:00000001\r\n";
        char size[32];
        std::snprintf(size, sizeof size, "dword:%08zx", pictureBytes);
        text += "\"" + p + "IMGSZ\"=" + size + "\r\n";
        for (std::size_t i = 0, left = pictureBytes; left > 0; ++i) {
            std::size_t chunk = left < 2000 ? left : 2000;
            char name[32];
            std::snprintf(name, sizeof name, "%sIMG%02zu", p.c_str(), i);
            text += HexValue(name, chunk, static_cast<unsigned>(n));
            left -= chunk;
        }
    }
    text +=
        "\r\n[HKEY_CURRENT_USER\\Software\\Tallowbrook\\Salt & Thyme\\LU]\r\n"
        "\"Terms\"=dword:00000001\r\n";
    return text;
}

std::string WriteTemp(const std::string& name, const std::string& text) {
    auto dir =
        std::filesystem::temp_directory_path() / ("quillmere-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

void BM_AdvertStoreRead(benchmark::State& state) {
    const int adverts = static_cast<int>(state.range(0));
    const std::string text = StoreText(adverts, static_cast<std::size_t>(state.range(1)));
    const std::string path = WriteTemp("read.reg", text);
    quillmere::RegFileRegistry registry(path);
    quillmere::AdvertImageBuffer image;
    for (auto _ : state) {
        auto record = quillmere::ReadAdvertStore(registry, 1, image);
        benchmark::DoNotOptimize(record);
    }
    if (image.size != static_cast<std::uint32_t>(state.range(1))) state.SkipWithError("no picture");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["file_KiB"] = static_cast<double>(text.size()) / 1024.0;
}
BENCHMARK(BM_AdvertStoreRead)
    ->Args({1, 0})
    ->Args({1, 24575})
    ->Args({10, 24575})
    ->Unit(benchmark::kMicrosecond);

// What Windows' registry editor writes: UTF-16LE with its byte-order mark.
std::string Utf16LeExport(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + text.size() * 2);
    for (char c : text) {
        bytes.push_back(c);
        bytes.push_back('\0');
    }
    return bytes;
}

// A reader's whole export: the advert store among some 25 MB of other keys.
std::string LargeExport() {
    std::string text = StoreText(1, 24575);
    for (int key = 0; text.size() * 2 < 25u << 20; ++key) {
        text += "\r\n[HKEY_CURRENT_USER\\Software\\Vendor" + std::to_string(key % 97) +
                "\\Product" + std::to_string(key) + "]\r\n";
        for (int v = 0; v < 8; ++v) {
            text += "\"Setting" + std::to_string(v) + "\"=\"C:\\\\Program Files\\\\Vendor\\\\" +
                    std::to_string(key * 8 + v) + "\"\r\n";
        }
        text += HexValue("Blob", 200, static_cast<unsigned>(key));
    }
    return Utf16LeExport(text);
}

// A book's pages each open the advert key once: 100 pages, one file, unchanged between them.
void BM_OpenAdvertKey25MBExport100Times(benchmark::State& state) {
    const std::string bytes = LargeExport();
    const std::string path = WriteTemp("export.reg", bytes);
    quillmere::RegFileRegistry registry(path);
    for (auto _ : state) {
        for (int page = 0; page < 100; ++page) {
            auto key = registry.OpenKeyForQuery("SOFTWARE\\Tallowbrook\\Adverts");
            if (!key) {
                state.SkipWithError("advert key not found");
                return;
            }
            benchmark::DoNotOptimize(key);
        }
    }
    state.counters["file_MiB"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_OpenAdvertKey25MBExport100Times)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WriteDword(benchmark::State& state) {
    const std::string path = WriteTemp("write.reg", StoreText(1, 24575));
    quillmere::RegFileRegistry registry(path);
    std::uint32_t value = 0;
    for (auto _ : state) {
        if (!registry.WriteDword("Software\\Tallowbrook\\Salt & Thyme\\LU", "Terms", ++value)) {
            state.SkipWithError("write failed");
            break;
        }
    }
}
BENCHMARK(BM_WriteDword)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                ("quillmere-bench-" + std::to_string(::getpid())));
    return 0;
}
