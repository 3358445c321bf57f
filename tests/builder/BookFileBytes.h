#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "records/RecordWriter.h"
#include "support/TempDir.h"

namespace quillmere::testing {

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    const std::string bytes = ReadFileBytes(path);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Where the record block of `file` starts; fails the test when it has none.
inline std::size_t BlockOffset(const std::vector<std::uint8_t>& file) {
    const RecordBlockSearch search = LocateRecordBlock(file);
    if (!search.offset) throw std::runtime_error("no record block: " + search.problem);
    return *search.offset;
}

}  // namespace quillmere::testing
