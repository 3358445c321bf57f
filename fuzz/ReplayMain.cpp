// Stands in for libFuzzer where it is not available: runs every input file once, so the corpora
// stay regression tests in every build.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        if (!std::filesystem::is_directory(arg)) {
            inputs.push_back(arg);
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    for (const auto& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        // A null pointer for an empty input is what libFuzzer never passes; keep it valid.
        static const std::uint8_t kNothing = 0;
        const auto* data =
            bytes.empty() ? &kNothing : reinterpret_cast<const std::uint8_t*>(bytes.data());
        LLVMFuzzerTestOneInput(data, bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
