// A program the suites start in place of a real one, built for the platform under test. It
// appends what it was given (its arguments, its current folder and QUILLMERE_PROBE_VALUE) to the
// file named by QUILLMERE_PROBE_OUT, one "name=value" a line and a line "end" last, and exits
// with QUILLMERE_PROBE_EXIT (0 when unset). With QUILLMERE_PROBE_AWAIT it first waits until that
// file exists; with QUILLMERE_PROBE_WATCH it first waits QUILLMERE_PROBE_PAUSE_MS milliseconds,
// then also tells whether that folder is still there.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

namespace {

std::string Variable(const char* name, const char* otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : otherwise;
}

}  // namespace

int main(int argc, char** argv) {
    const char* out = std::getenv("QUILLMERE_PROBE_OUT");
    if (out == nullptr) return 100;

    std::error_code error;
    if (const char* awaited = std::getenv("QUILLMERE_PROBE_AWAIT")) {
        while (!std::filesystem::exists(awaited, error)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    std::string record = "argc=" + std::to_string(argc) + "\n";
    for (int i = 0; i < argc; ++i) record += std::string("arg=") + argv[i] + "\n";
    record += "folder=" + std::filesystem::current_path(error).string() + "\n";
    record += "value=" + Variable("QUILLMERE_PROBE_VALUE", "<unset>") + "\n";
    if (const char* watched = std::getenv("QUILLMERE_PROBE_WATCH")) {
        const int pause = std::atoi(Variable("QUILLMERE_PROBE_PAUSE_MS", "0").c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        record += std::string("watched=") +
                  (std::filesystem::is_directory(watched, error) ? "present" : "gone") + "\n";
    }
    record += "end\n";

    std::FILE* file = std::fopen(out, "ab");
    if (file == nullptr) return 101;
    std::fwrite(record.data(), 1, record.size(), file);
    std::fclose(file);
    return std::atoi(Variable("QUILLMERE_PROBE_EXIT", "0").c_str());
}
