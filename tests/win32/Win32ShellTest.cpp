#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "platform/win32/Win32Shell.h"
#include "support/TempDir.h"
#include "support/Win32TestSupport.h"

namespace quillmere {
namespace {

using testing::AwaitProbeRecord;
using testing::ScopedVariable;
using testing::ScratchKey;
using testing::SetRegistryValue;
using testing::TempDir;

std::string UniqueExtension() {
    std::random_device random;
    return ".qmt" + std::to_string(random() % 1000000);
}

// A file type of the current user's own, opened by the probe program.
class TestFileType {
  public:
    TestFileType() : extension_(UniqueExtension()) {
        Register(HKEY_CURRENT_USER, "Software\\Classes\\");
        // Wine's HKEY_CLASSES_ROOT does not show the user's classes: there the type goes in the
        // machine's classes as well.
        HKEY seen = nullptr;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension_.c_str(), 0, KEY_READ, &seen) ==
            ERROR_SUCCESS) {
            RegCloseKey(seen);
        } else {
            Register(HKEY_CLASSES_ROOT, "");
            inMachineClasses_ = true;
        }
    }
    ~TestFileType() {
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\Classes\\" + extension_).c_str());
        if (inMachineClasses_) {
            RegDeleteTreeA(HKEY_CLASSES_ROOT, extension_.c_str());
            RegDeleteTreeA(HKEY_CLASSES_ROOT, className().c_str());
        }
    }
    const std::string& extension() const { return extension_; }
    // The class name, as a path below Software\Classes.
    std::string className() const { return class_.path().substr(class_.path().rfind('\\') + 1); }

  private:
    void Register(HKEY root, const std::string& classes) {
        SetRegistryValue(classes + extension_, "", REG_SZ, className() + '\0', root);
        const std::string command = std::string("\"") + QUILLMERE_PROBE_PATH + "\" \"%1\"";
        SetRegistryValue(classes + className() + "\\shell\\open\\command", "", REG_SZ,
                         command + '\0', root);
    }

    std::string extension_;
    ScratchKey class_{"Software\\Classes"};
    bool inMachineClasses_ = false;
};

TEST(Win32Shell, OpensAFileWithTheProgramRegisteredForItsType) {
    TestFileType type;
    TempDir dir;
    const std::string file = dir.Write("notes" + type.extension(), "hello");
    const std::string out = dir.File("record.txt");
    ScopedVariable record("QUILLMERE_PROBE_OUT", out);

    Win32Shell shell;
    EXPECT_GT(shell.OpenWithDefaultProgram(file), kShellSuccessAbove);
    const auto recorded = AwaitProbeRecord(out);
    ASSERT_FALSE(recorded.empty()) << "the registered program did not run";
    EXPECT_NE(recorded.at("command").find(file), std::string::npos) << recorded.at("command");
}

TEST(Win32Shell, FailuresReportThirtyTwoOrLess) {
    TempDir dir;
    Win32Shell shell;
    const std::string unknownType = dir.Write("notes" + UniqueExtension(), "hello");
    for (const std::string& path : {unknownType, dir.File("missing.htm")}) {
        SCOPED_TRACE(path);
        EXPECT_LE(shell.OpenWithDefaultProgram(path), kShellSuccessAbove);
    }
}

}  // namespace
}  // namespace quillmere
