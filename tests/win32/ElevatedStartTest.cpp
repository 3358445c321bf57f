#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/ElevatedStart.h"

namespace quillmere {
namespace {

TEST(ElevatedStart, OnlyAProgramThatNeedsElevationGoesThroughTheShellWithItsFurtherArguments) {
    const struct {
        unsigned long error;
        std::vector<std::string> arguments;
        std::optional<std::string> parameters;
    } cases[] = {
        {740, {"setup.exe"}, ""},
        {740, {"hollowquay.exe", "QZXPATH=c:\\books\\=QZXPATH"}, "QZXPATH=c:\\books\\=QZXPATH"},
        {740, {"tool.exe", "a", "b c"}, "a b c"},
        {740, {}, ""},
        {2, {"missing.exe", "x"}, std::nullopt},   // ERROR_FILE_NOT_FOUND
        {5, {"denied.exe"}, std::nullopt},         // ERROR_ACCESS_DENIED
        {193, {"notaprogram.exe"}, std::nullopt},  // ERROR_BAD_EXE_FORMAT
        {1223, {"cancelled.exe"}, std::nullopt},   // ERROR_CANCELLED
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ElevatedStartParameters(c.error, c.arguments), c.parameters) << c.error;
    }
}

}  // namespace
}  // namespace quillmere
