#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/AppHarness.h"

namespace quillmere::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

BookFile SmallBook(AppHarness& h) {
    h.AcceptTerms("Ebook");
    return WriteRawBook(h.root.File("book"), {{"index.html", "<p>hi</p>"}});
}

TEST(WorkspaceTest, FoldersAlreadyTakenInTheSameSecondGetAnXEach) {
    const char* suffixes[] = {"", "x", "xx", "xxx"};
    for (int taken = 0; taken < 4; ++taken) {
        AppHarness h;
        BookFile book = SmallBook(h);
        for (int i = 0; i < taken; ++i) {
            std::filesystem::create_directory(h.WorkspaceFor(h.system.now, suffixes[i]));
        }
        std::string workspace;
        const RunResult run = h.Run(book, [&](CQuillmereApp& app) { workspace = app.Workspace; });

        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(workspace, h.WorkspaceFor(h.system.now, suffixes[taken]));
        EXPECT_EQ(h.TempEntries().size(), static_cast<std::size_t>(taken)) << "ours is gone";
    }
}

TEST(WorkspaceTest, FifthStartInOneSecondFailsAndTouchesNoOtherCopy) {
    AppHarness h;
    BookFile book = SmallBook(h);
    for (const char* suffix : {"", "x", "xx", "xxx"}) {
        const std::string folder = h.WorkspaceFor(h.system.now, suffix);
        std::filesystem::create_directory(folder);
        std::ofstream(folder + "index.html") << "another copy's page";
    }
    // What the last name tried, without its separator, would run into.
    const std::string neighbour =
        h.tmp + "vellumkit__" + std::to_string(h.system.now) + "xxxindex.html";
    std::ofstream(neighbour) << "not ours";

    const RunResult run = h.Run(book);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(h.Messages(), ElementsAre("Error - unable to create TEMP folder"));
    EXPECT_EQ(h.files.createDirectoryCalls.size(), 4u);
    EXPECT_THAT(h.files.removedFiles, IsEmpty());
    EXPECT_EQ(ReadFileBytes(neighbour), "not ours");
    EXPECT_EQ(ReadFileBytes(h.WorkspaceFor(h.system.now, "xxx") + "index.html"),
              "another copy's page");
}

TEST(WorkspaceTest, ErrorOtherThanAlreadyExistsEndsAfterOneAttempt) {
    AppHarness h;
    BookFile book = SmallBook(h);
    h.files.forcedCreateDirectory = CreateDirectoryResult::Failed;

    const RunResult run = h.Run(book);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(h.Messages(), ElementsAre("Error - unable to create TEMP folder"));
    EXPECT_THAT(h.files.createDirectoryCalls, ElementsAre(h.tmp + "vellumkit__1700000000"));
    EXPECT_THAT(h.files.removedFiles, IsEmpty());
}

TEST(WorkspaceTest, NoTemporaryFolderMeansNoWorkspaceAndNothingDeleted) {
    AppHarness h;
    BookFile book = SmallBook(h);
    h.files.temporaryDirectory.reset();

    const RunResult run = h.Run(book);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(h.Messages(), ElementsAre("Error - unable to determine Windows TEMP directory"));
    EXPECT_THAT(h.files.createDirectoryCalls, IsEmpty());
    EXPECT_THAT(h.files.removedFiles, IsEmpty());
}

}  // namespace
}  // namespace quillmere::testing
