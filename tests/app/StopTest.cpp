// A stop (signal, end of session, display gone) at any point ends in the clean-up, and a start
// clears away what viewers that died left behind, and nothing else.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "support/AppHarness.h"
#include "support/ScopedVariable.h"

namespace quillmere::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

BookFile PageBook(AppHarness& h, const PackagedFiles& files = {{"index.html", "<p>hi</p>"},
                                                               {"cover.gif", "GIF"}}) {
    h.AcceptTerms("Ebook");
    return WriteRawBook(h.root.File("book"), files);
}

TEST(StopTest, StopWhileTheWindowIsOpenRemovesEverythingWithoutWaitingForPrograms) {
    AppHarness h;
    BookFile book = PageBook(h);
    // A program that runs until `go` appears, then writes `record`.
    const std::string go = h.root.File("go");
    const std::string record = h.root.File("record");
    ScopedVariable out("QUILLMERE_PROBE_OUT", record);
    ScopedVariable await("QUILLMERE_PROBE_AWAIT", go);
    ProcessHandle program = kFailedProcess;
    std::vector<std::string> inside;
    std::thread releaser;

    const RunResult run = h.Run(book, [&](CQuillmereApp& app) {
        program = h.processes.Start(QUILLMERE_TEST_PROBE_PATH, {"probe"});
        AddStartedProgram(app.StartedPrograms, program);
        for (const auto& entry : std::filesystem::directory_iterator(app.Workspace)) {
            inside.push_back(entry.path().filename().string());
        }
        // A stop that waited for the program would see it end a while later.
        releaser = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            std::ofstream(go) << "";
        });
        h.lifetime.Stop();
    });

    EXPECT_TRUE(run.endedProcess);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(inside, ElementsAre(::testing::_, ::testing::_, ::testing::_));  // pages + lock
    EXPECT_THAT(h.TempEntries(), IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(record)) << "the stop waited for the started program";
    if (releaser.joinable()) releaser.join();
    ASSERT_NE(program, kFailedProcess);
    EXPECT_EQ(h.processes.Wait(program), 0);
    h.processes.Close(program);
}

TEST(StopTest, StopWhileAMessageBoxIsOpenEndsInTheCleanUp) {
    const struct {
        const char* box;
        PackagedFiles files;
        std::function<void(BookFile&)> damage;
        bool termsAccepted;
    } cases[] = {
        {"damaged package",
         {{"index.html", "<p>hi</p>"}},
         [](BookFile& b) { b.SetFileCount(101); },
         true},
        {"no page", {{"cover.gif", "GIF"}}, nullptr, true},
        {"terms question, before any folder", {{"index.html", "<p>hi</p>"}}, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        AppHarness h;
        BookFile book = WriteRawBook(h.root.File("book"), c.files);
        if (c.termsAccepted) h.AcceptTerms("Ebook");
        if (c.damage) c.damage(book);
        h.dialogs.whileShown = [&] { h.lifetime.Stop(); };

        const RunResult run = h.Run(book);

        EXPECT_TRUE(run.endedProcess);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(h.dialogs.shown.size(), 1u);
        EXPECT_THAT(h.TempEntries(), IsEmpty());
    }
}

TEST(StopTest, AFailedStartUpForgetsTheFolderItRemoved) {
    const struct {
        const char* what;
        PackagedFiles files;
        std::function<void(BookFile&)> damage;
    } cases[] = {
        {"damaged package",
         {{"index.html", "<p>hi</p>"}},
         [](BookFile& b) { b.SetFileCount(101); }},
        {"no page", {{"cover.gif", "GIF"}}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AppHarness h;
        BookFile book = PageBook(h, c.files);
        if (c.damage) c.damage(book);
        const std::string ws = h.WorkspaceFor(h.system.now);

        const RunResult run = h.Run(book);

        EXPECT_EQ(run.exitCode, 1);
        // Once: the exit sequence must not reach into a name another copy may own by then.
        EXPECT_THAT(h.files.removedFolders, ElementsAre(ws));
        const auto removed = std::find(h.files.removals.begin(), h.files.removals.end(), ws);
        ASSERT_NE(removed, h.files.removals.end());
        EXPECT_TRUE(std::none_of(removed + 1, h.files.removals.end(), [&](const std::string& path) {
            return path.rfind(ws, 0) == 0;
        })) << ::testing::PrintToString(h.files.removals);
        EXPECT_THAT(h.TempEntries(), IsEmpty());
    }
}

TEST(StopTest, AStartRemovesOnlyTheWorkspacesOfViewersThatAreGone) {
    AppHarness h;
    BookFile book = PageBook(h);
    NativeFileSystem real;
    const auto makeWorkspace = [&](const std::string& name) {
        const std::string folder = h.tmp + name + kNativeSeparator;
        std::filesystem::create_directory(folder);
        std::ofstream(folder + "index.html") << "page";
        return folder;
    };
    // Killed: its lock file stays, its lock went with the process.
    real.LockFolder(makeWorkspace("vellumkit__100"));
    // Running: holds its lock.
    auto running = real.LockFolder(makeWorkspace("vellumkit__200"));
    ASSERT_NE(running, nullptr);
    // Without a lock file (between its creation and its lock, or never ours): left alone.
    makeWorkspace("vellumkit__300");

    const RunResult run = h.Run(book, [&](CQuillmereApp&) {
        EXPECT_THAT(h.TempEntries(),
                    ElementsAre("vellumkit__1700000000", "vellumkit__200", "vellumkit__300"));
    });

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(h.TempEntries(), ElementsAre("vellumkit__200", "vellumkit__300"));
    // Its viewer gone, the running one's folder goes at the next start; only the backend can
    // remove a lock file that it keeps out of reach of ordinary calls.
    running.reset();
    real.RemoveOrphanedFolders(h.tmp, "vellumkit__");
    EXPECT_THAT(h.TempEntries(), ElementsAre("vellumkit__300"));
}

}  // namespace
}  // namespace quillmere::testing
