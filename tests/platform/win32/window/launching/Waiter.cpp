// A packaged program that runs until it is told to end: it writes "started" into the folder named
// by QUILLMERE_GATE, waits for "release" to appear there, writes "ended" and ends with exit code
// 0 (exit code 3 when it waited ten minutes for nothing, so that a broken test cannot hang).
#include <windows.h>

#include <string>

namespace {

bool Touch(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

int main() {
    char gate[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("QUILLMERE_GATE", gate, sizeof gate);
    if (length == 0 || length >= sizeof gate) return 2;
    const std::string folder = std::string(gate) + "\\";
    if (!Touch(folder + "started")) return 2;
    const std::string release = folder + "release";
    for (int i = 0; i < 6000; ++i) {
        if (GetFileAttributesA(release.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return Touch(folder + "ended") ? 0 : 2;
        }
        Sleep(100);
    }
    return 3;
}
