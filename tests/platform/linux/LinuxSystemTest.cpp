#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/linux/LinuxSystem.h"

namespace quillmere {
namespace {

TEST(LinuxSystemTest, ModuleFilePathIsTheTestProgramsRealPath) {
    LinuxSystem system;
    const auto path = system.ModuleFilePath();
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, std::filesystem::canonical(*path).string());
    EXPECT_EQ(std::filesystem::path(*path).filename(), "test-platform");

    struct stat self {};
    struct stat named {};
    ASSERT_EQ(stat("/proc/self/exe", &self), 0);
    ASSERT_EQ(stat(path->c_str(), &named), 0);
    EXPECT_EQ(self.st_ino, named.st_ino);
    EXPECT_EQ(self.st_dev, named.st_dev);
}

}  // namespace
}  // namespace quillmere
