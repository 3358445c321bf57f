#include "support/Win32TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace quillmere::testing {

ScratchKey::ScratchKey(const std::string& under) {
    std::random_device random;
    path_ = under + "\\QuillmereTest" + std::to_string(random());
}

ScratchKey::~ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }

void SetRegistryValue(const std::string& subkey, const std::string& name, DWORD type,
                      const std::string& data, HKEY root) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, type,
                       reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size())),
        ERROR_SUCCESS);
    RegCloseKey(key);
}

std::map<std::string, std::string> ReadProbeRecord(const std::string& path) {
    std::map<std::string, std::string> record;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) record[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return record;
}

std::map<std::string, std::string> AwaitProbeRecord(const std::string& path) {
    for (int waited = 0; waited < 100; ++waited) {
        auto record = ReadProbeRecord(path);
        // The last line is written last.
        if (record.count("self") != 0) return record;
        Sleep(100);
    }
    return {};
}

}  // namespace quillmere::testing
