#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

#include "records/SiteAddresses.h"
#include "support/AppHarness.h"
#include "support/BookBuilder.h"
#include "support/ScopedVariable.h"
#include "ui/QuillmereView.h"

namespace quillmere::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kPage =
    "<p>RVX_REPLACE_NAME presents RVX_REPLACE_EBOOKNAME</p>"
    "RVX_BONUS_START<p>bonus</p>RVX_BONUS_END<a href=\"RVX_REPLACE_LINK\">shop</a>";

std::string ExpectedPage() {
    return std::string("<p>Harbour Books presents Herbs by the Sea</p><p>bonus</p><a href=\"") +
           ClubSiteAddress + "/url2/?r=42&u=http://harbour.example\">shop</a>";
}

class AppLifecycleTest : public ::testing::Test {
  protected:
    BookFile BuildHerbBook(PackagedFiles files) {
        BookSpec recipe;
        recipe.outPath = h.root.File("herbs");
        recipe.files = std::move(files);
        recipe.title = "Herbs by the Sea";
        recipe.resellerId = 100042;
        recipe.resellerName = "Harbour Books";
        recipe.resellerSite = "http://harbour.example";
        return LoadBookFile(BuildBook(recipe));
    }

    AppHarness h;
};

TEST_F(AppLifecycleTest, ExtractsTheBookShowsTheStartPageAndLeavesNothingBehind) {
    const std::string cover("GIF89a\0\x01\x02\xff", 10);
    BookFile book = BuildHerbBook({{"about.html", "about RVX_REPLACE_NAME"},
                                   {"index.html", kPage},
                                   {"cover.gif", cover},
                                   {"Tool.exe", "#!/bin/sh\n"}});
    h.AcceptTerms("Herbs by the Sea");
    const std::string ws = h.WorkspaceFor(h.system.now);

    bool looked = false;
    const RunResult run = h.Run(book, [&](CQuillmereApp& app) {
        looked = true;
        EXPECT_EQ(app.Workspace, ws);
        EXPECT_EQ(app.StartPage, ws + "index.html");
        EXPECT_EQ(ReadFileBytes(ws + "index.html"), ExpectedPage());
        EXPECT_EQ(ReadFileBytes(ws + "about.html"), "about Harbour Books");
        EXPECT_EQ(ReadFileBytes(ws + "cover.gif"), cover);
        EXPECT_FALSE(std::filesystem::exists(ws + "Tool.exe"));
    });

    EXPECT_TRUE(looked);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.endedProcess);
    EXPECT_THAT(h.Messages(), IsEmpty());
    EXPECT_EQ(h.windowing.frame.defaultCaption, "Quillmere");
    EXPECT_EQ(h.windowing.frame.menuItemLabel, "Print Instructions");
    EXPECT_EQ(h.windowing.frame.menuItemCommand, 57607);
    EXPECT_THAT(h.windowing.log,
                ElementsAre("create", "zoom:100", "showstate:3", "show", "update",
                            "caption:Herbs by the Sea", "navigate:" + ws + "index.html",
                            "foreground", "destroy"));
    EXPECT_THAT(h.TempEntries(), IsEmpty());
    EXPECT_FALSE(run.viewOutlivedRun);
}

TEST_F(AppLifecycleTest, OnlyItsUserMayEnterTheWorkspace) {
    if (*kNoPermissionBits != '\0') GTEST_SKIP() << kNoPermissionBits;
    BookFile book = BuildHerbBook({{"index.html", kPage}});
    h.AcceptTerms("Herbs by the Sea");
    const std::string ws = h.WorkspaceFor(h.system.now);

    std::optional<unsigned> permissions;
    ASSERT_EQ(h.Run(book, [&](CQuillmereApp&) { permissions = PermissionBits(ws); }).exitCode, 0);
    EXPECT_EQ(permissions, 0700u);
}

TEST_F(AppLifecycleTest, WindowOpensMaximisedWhateverTheStartingState) {
    BookFile book = BuildHerbBook({{"index.html", "x"}});
    h.AcceptTerms("Herbs by the Sea");
    for (ShowState initial : {ShowState::Normal, ShowState::Minimized, ShowState::Maximized}) {
        h.windowing.log.clear();
        h.windowing.initialShowState = initial;
        ASSERT_EQ(h.Run(book).exitCode, 0);
        const bool changed = std::find(h.windowing.log.begin(), h.windowing.log.end(),
                                       "showstate:3") != h.windowing.log.end();
        EXPECT_EQ(changed, initial != ShowState::Maximized) << static_cast<int>(initial);
    }
}

TEST_F(AppLifecycleTest, UnmergedStubReportsAtExtractionAndAgainAtExit) {
    BookFile stub = LoadBookFile(QUILLMERE_STUB_PATH);
    h.AcceptTerms("Ebook");

    const RunResult run = h.Run(stub);

    EXPECT_TRUE(run.endedProcess);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(h.Messages(), ElementsAre("Stub not merged with any HTML/image files",
                                          "Stub not merged with form files"));
    EXPECT_EQ(h.dialogs.shown.at(0).caption, "Ebook");
    EXPECT_EQ(h.windowing.loopsRun, 0);
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

TEST_F(AppLifecycleTest, EmptyPackageReportsAtExtractionAndAgainAtExit) {
    BookFile book = WriteRawBook(h.root.File("empty"), {});
    h.AcceptTerms("Ebook");

    const RunResult run = h.Run(book);

    EXPECT_TRUE(run.endedProcess);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(h.Messages(), ElementsAre("There are no HTML/image files in the package",
                                          "There are no image files in the package"));
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

TEST_F(AppLifecycleTest, BookWithoutPagesFailsAndRemovesItsFolder) {
    BookFile book = BuildHerbBook({{"cover.gif", "GIF"}, {"Tool.exe", "x"}});
    h.AcceptTerms("Herbs by the Sea");

    const RunResult run = h.Run(book);

    EXPECT_FALSE(run.endedProcess);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(h.Messages(), ElementsAre("No HTML file in ebook"));
    EXPECT_EQ(h.windowing.loopsRun, 0);
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

TEST_F(AppLifecycleTest, FailedWriteHalfwayStillLeavesNoFolder) {
    BookFile book =
        BuildHerbBook({{"a.gif", "A"}, {"index.html", "page"}, {"c.gif", "C"}, {"d.gif", "D"}});
    h.AcceptTerms("Herbs by the Sea");
    h.files.failCreatesAfter = 2;

    const RunResult run = h.Run(book);

    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(h.Messages(), ElementsAre("Unable to create temp files needed"));
    EXPECT_EQ(h.files.createdFiles.size(), 2u);
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

TEST_F(AppLifecycleTest, FailedPageWriteNamesTheFile) {
    BookFile book = BuildHerbBook({{"a.gif", "A"}, {"index.html", "page"}});
    h.AcceptTerms("Herbs by the Sea");
    h.files.failCreatesAfter = 1;

    EXPECT_EQ(h.Run(book).exitCode, 1);
    EXPECT_THAT(h.Messages(),
                ElementsAre("Failed to write file " + h.WorkspaceFor(h.system.now) + "index.html"));
    EXPECT_EQ(h.dialogs.shown.at(0).caption, "Herbs by the Sea");
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

TEST_F(AppLifecycleTest, WindowThatCannotBeCreatedEndsStartUpBeforeAnyFolder) {
    BookFile book = BuildHerbBook({{"index.html", "x"}});
    h.AcceptTerms("Herbs by the Sea");
    h.windowing.failCreate = true;

    const RunResult run = h.Run(book);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(h.Messages(), IsEmpty());
    EXPECT_THAT(h.files.createDirectoryCalls, IsEmpty());
    EXPECT_FALSE(run.viewOutlivedRun);
}

TEST_F(AppLifecycleTest, UnreadableSelfImageEndsStartUp) {
    BookFile book = BuildHerbBook({{"index.html", "x"}});
    book.path = h.root.File("missing");

    EXPECT_EQ(h.Run(book).exitCode, 1);
    EXPECT_THAT(h.Messages(), ElementsAre("Unable to read file: " + book.path));
    EXPECT_EQ(h.windowing.log.size(), 0u);
}

TEST_F(AppLifecycleTest, AdvertPictureIsWrittenAfterEveryPackagedFileAndRemovedAtExit) {
    BookFile book =
        BuildHerbBook({{"index.html", "RVX_VERSION_620_5_aaa/bbb <p>"}, {"z.gif", "Z"}});
    h.AcceptTerms("Herbs by the Sea");
    const std::string adverts = "SOFTWARE\\Tallowbrook\\Adverts";
    h.SeedDword(adverts, "M42-V1", 1);
    h.SeedString(adverts, "M42-V2", "Planner");
    h.SeedString(adverts, "M42-V3", "Plan beds");
    h.SeedString(adverts, "M42-V4", "http://planner.example");
    h.SeedDword(adverts, "M42-V6", 1);
    h.SeedDword(adverts, "M42-IMGSZ", 3);
    h.SeedRegistry(adverts, "M42-IMG00", RegistryValueType::Binary, "\xff\xd8\xff");
    const std::string ws = h.WorkspaceFor(h.system.now);

    const RunResult run = h.Run(book, [&](CQuillmereApp&) {
        EXPECT_EQ(ReadFileBytes(ws + "advertimg.jpg"), "\xff\xd8\xff");
        EXPECT_NE(ReadFileBytes(ws + "index.html").find("advertimg.jpg"), std::string::npos);
    });

    EXPECT_EQ(run.exitCode, 0);
    ASSERT_FALSE(h.files.createdFiles.empty());
    EXPECT_EQ(h.files.createdFiles.back(), ws + "advertimg.jpg");
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

TEST_F(AppLifecycleTest, ExitWaitsForAStartedProgramBeforeRemovingTheFolder) {
    const std::string ws = h.WorkspaceFor(h.system.now);
    const std::string record = h.root.File("record");
    // After a pause, the probe tells whether the folder it was written to is still there.
    ScopedVariable out("QUILLMERE_PROBE_OUT", record);
    ScopedVariable watch("QUILLMERE_PROBE_WATCH", ws);
    ScopedVariable pause("QUILLMERE_PROBE_PAUSE_MS", "1000");
    BookFile book = BuildHerbBook(
        {{"index.html", "x"}, {"Slow.exe", ReadFileBytes(QUILLMERE_TEST_PROBE_PATH)}});
    h.AcceptTerms("Herbs by the Sea");

    const RunResult run = h.Run(book, [&](CQuillmereApp& app) {
        bool cancel = false;
        app.View->OnBeforeNavigate2(std::string(LaunchLinkPrefix) + "?sw=Slow.exe", "", cancel);
        EXPECT_TRUE(cancel);
        EXPECT_TRUE(std::filesystem::exists(ws + "Slow.exe"));
    });

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(h.Messages(), IsEmpty());
    ASSERT_TRUE(std::filesystem::exists(record));
    EXPECT_THAT(ReadFileBytes(record), ::testing::HasSubstr("\nwatched=present\nend\n"));
    EXPECT_THAT(h.TempEntries(), IsEmpty());
}

}  // namespace
}  // namespace quillmere::testing
