// Records how it was started: its argument vector (argument 0 included, each followed by a zero
// byte), its current folder and one variable of its environment, as files in the folder named by
// its last argument. Ends with code 7.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::string out = argv[argc - 1];
    std::ofstream arguments(out + "/argv", std::ios::binary);
    for (int i = 0; i < argc; ++i) arguments << argv[i] << '\0';
    char cwd[PATH_MAX];
    std::ofstream(out + "/cwd", std::ios::binary) << (getcwd(cwd, sizeof cwd) ? cwd : "") << '\n';
    const char* probe = std::getenv("QUILLMERE_PROBE");
    std::ofstream(out + "/env", std::ios::binary) << (probe ? probe : "");
    return 7;
}
