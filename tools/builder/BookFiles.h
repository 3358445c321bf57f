#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillmere::builder {

using Bytes = std::vector<std::uint8_t>;

// The whole file, or nullopt with `error` set.
std::optional<Bytes> ReadBytes(const std::filesystem::path& path, std::string& error);

// Writes `parts` one after the other to a new file beside `target`, gives it `permissions`, and
// only then renames it over `target`: the target is either the complete book or left as it was.
bool WriteFileWhole(const std::filesystem::path& target, const std::vector<const Bytes*>& parts,
                    std::filesystem::perms permissions, std::string& error);

}  // namespace quillmere::builder
