#include "support/SeededRegistry.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "platform/posix/RegFileRegistry.h"
#include "support/NativeBackend.h"

namespace quillmere::testing {

namespace {

// Appends the value in a section of its own, as the registry editor writes it; the file only
// grows, so the registry sees every value.
void AppendValue(const std::string& path, std::string_view subkey, std::string_view name,
                 RegistryValueType type, std::string_view bytes) {
    std::string text;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) text = "REGEDIT4\r\n";
    text += "\r\n[HKEY_CURRENT_USER\\" + std::string(subkey) + "]\r\n\"" + std::string(name) +
            "\"=hex(" + std::to_string(static_cast<std::uint32_t>(type)) + "):";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, i == 0 ? "%02x" : ",%02x",
                      static_cast<unsigned char>(bytes[i]));
        text += hex;
    }
    text += "\r\n";
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << text;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace

struct SeededRegistry::State {
    std::string path;
    RegFileRegistry file;
};

SeededRegistry::SeededRegistry(const TempDir& folder) {
    // A file of its own, also beside another registry in the same folder.
    int n = 0;
    while (std::filesystem::exists(folder.File("registry-" + std::to_string(n) + ".reg"))) ++n;
    const std::string path = folder.Write("registry-" + std::to_string(n) + ".reg", "REGEDIT4\r\n");
    state_ = std::make_unique<State>(State{path, RegFileRegistry(path)});
}

SeededRegistry::~SeededRegistry() = default;

Registry& SeededRegistry::registry() { return state_->file; }

void SeededRegistry::Seed(std::string_view subkey, std::string_view name, RegistryValueType type,
                          std::string_view bytes) {
    AppendValue(state_->path, subkey, name, type, bytes);
}

void SeedHarnessRegistry(HarnessRegistry& /*registry*/, const std::string& path,
                         std::string_view subkey, std::string_view name, RegistryValueType type,
                         std::string_view bytes) {
    AppendValue(path, subkey, name, type, bytes);
}

}  // namespace quillmere::testing
