#include "support/TempDir.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace quillmere::testing {

TempDir::TempDir() {
    std::random_device random;
    std::uniform_int_distribution<unsigned long long> pick;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("quillmere-test-" + std::to_string(pick(random)));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder under " + base.string());
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(std::string_view name) const { return (path_ / name).string(); }

std::string TempDir::Write(std::string_view name, std::string_view content) const {
    std::string full = File(name);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + full);
    return full;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path.string());
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("cannot read " + path.string());
    return bytes;
}

}  // namespace quillmere::testing
