#include "platform/win32/Win32Shell.h"

#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

namespace quillmere {

namespace {

// Some handlers are shell extensions that need COM on the calling thread. Initialised for the
// call and released after, unless the thread already had it in another mode.
class ComForShell {
  public:
    ComForShell()
        : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComForShell() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComForShell(const ComForShell&) = delete;
    ComForShell& operator=(const ComForShell&) = delete;

  private:
    HRESULT result_;
};

}  // namespace

std::intptr_t Win32Shell::OpenWithDefaultProgram(const std::string& path) {
    ComForShell com;
    HINSTANCE result =
        ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<std::intptr_t>(result);
}

bool Win32Shell::OpenAddressWithDefaultProgram(const std::string& address) {
    // The program registered for the address's scheme, as the browser control would start it.
    return OpenWithDefaultProgram(address) > kShellSuccessAbove;
}

}  // namespace quillmere
