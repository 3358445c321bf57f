// A tiny program the backend tests start: it writes what it was given (command line, current
// folder, its module folder and self image as the viewer forms them) to the file named by
// QUILLMERE_PROBE_OUT, and exits with QUILLMERE_PROBE_EXIT (0 when unset). With
// QUILLMERE_PROBE_DLL it also records whether that DLL loads by name, after the viewer's
// restriction of the search path when QUILLMERE_PROBE_RESTRICT is set. QUILLMERE_PROBE_SLEEP_MS
// makes it wait that long first.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/WindowUnavailable.h"
#include "package/FileHelpers.h"
#include "platform/AppContext.h"
#include "platform/win32/DllSearchPath.h"
#include "platform/win32/Win32Platform.h"

int main() {
    using namespace quillmere;
    const char* out = std::getenv("QUILLMERE_PROBE_OUT");
    if (out == nullptr) return 100;
    if (const char* sleep = std::getenv("QUILLMERE_PROBE_SLEEP_MS")) Sleep(std::atoi(sleep));
    std::string dll;
    if (const char* name = std::getenv("QUILLMERE_PROBE_DLL")) {
        if (std::getenv("QUILLMERE_PROBE_RESTRICT") != nullptr) RestrictDllSearchPath();
        dll = LoadLibraryA(name) != nullptr ? "loaded" : "not loaded";
    }

    Win32Services win32;
    WindowUnavailable noWindow(win32.dialogs, "no window");
    Platform platform = win32.With(noWindow);
    AppContext ctx{platform, TextRules{LeadBytes(GetACP()), '\\'}};

    char folder[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string record;
    record += std::string("command=") + GetCommandLineA() + "\n";
    record += std::string("folder=") + folder + "\n";
    record += "module=" + GetModuleDirectory(ctx) + "\n";
    record += "self=" + SelfImagePathFor(ctx) + "\n";
    if (!dll.empty()) record += "dll=" + dll + "\n";

    std::FILE* file = std::fopen(out, "wb");
    if (file == nullptr) return 101;
    std::fwrite(record.data(), 1, record.size(), file);
    std::fclose(file);
    const char* code = std::getenv("QUILLMERE_PROBE_EXIT");
    return code != nullptr ? std::atoi(code) : 0;
}
