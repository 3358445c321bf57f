#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/posix/PosixLifetime.h"
#include "platform/posix/TerminalDialogs.h"

namespace quillmere {
namespace {

// Everything written to the read end of a pipe so far.
std::string Drain(int fd) {
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

struct Pipe {
    Pipe() {
        EXPECT_EQ(pipe(fds), 0);
        fcntl(fds[0], F_SETFL, O_NONBLOCK);
    }
    ~Pipe() {
        close(fds[0]);
        close(fds[1]);
    }
    int fds[2] = {-1, -1};
};

TEST(TerminalDialogsTest, BoxShowsCaptionTextAndButtons) {
    Pipe input;
    Pipe output;
    TerminalDialogs dialogs(input.fds[0], output.fds[1]);

    EXPECT_EQ(dialogs.ShowMessageBox("Unable to read file: /x", "My Ebook", kStopBox),
              MessageBoxAnswer::Ok);
    const std::string shown = Drain(output.fds[0]);
    EXPECT_NE(shown.find("My Ebook"), std::string::npos);
    EXPECT_NE(shown.find("Unable to read file: /x"), std::string::npos);
    EXPECT_NE(shown.find("[OK]"), std::string::npos);
}

TEST(TerminalDialogsTest, QuestionWithoutTerminalAnswersNo) {
    Pipe input;
    Pipe output;
    ASSERT_EQ(write(input.fds[1], "yes\n", 4), 4);
    TerminalDialogs dialogs(input.fds[0], output.fds[1]);

    EXPECT_EQ(dialogs.ShowMessageBox("Do you accept?", "Terms", kQuestionBox),
              MessageBoxAnswer::No);
    EXPECT_NE(Drain(output.fds[0]).find("[Yes] [No]"), std::string::npos);
}

TEST(TerminalDialogsTest, QuestionOnTerminalReadsTheAnswer) {
    struct Case {
        const char* typed;
        MessageBoxAnswer expected;
    };
    const Case cases[] = {
        {"yes\n", MessageBoxAnswer::Yes},   {"Y\n", MessageBoxAnswer::Yes},
        {" YES \n", MessageBoxAnswer::Yes}, {"no\n", MessageBoxAnswer::No},
        {"\n", MessageBoxAnswer::No},       {"yesterday\n", MessageBoxAnswer::No},
        {"\x04", MessageBoxAnswer::No},  // end of input (Ctrl-D)
    };
    for (const Case& c : cases) {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
        ASSERT_GE(terminal, 0);
        Pipe output;

        const std::string typed = c.typed;
        ASSERT_EQ(write(master, typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
        TerminalDialogs dialogs(terminal, output.fds[1]);
        EXPECT_EQ(dialogs.ShowMessageBox("Do you accept?", "Terms", kQuestionBox), c.expected)
            << "typed " << c.typed;
        close(terminal);
        close(master);
    }
}

TEST(TerminalDialogsTest, AStopSignalIsHeardWhileTheQuestionWaits) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    Pipe output;

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PosixLifetime lifetime;
        lifetime.SetStopHandler([] { _exit(42); });
        TerminalDialogs dialogs(terminal, output.fds[1]);
        dialogs.ShowMessageBox("Do you accept?", "Terms", kQuestionBox);
        _exit(0);  // answered: the stop was not heard
    }
    std::string shown;
    for (int i = 0; i < 100 && shown.find("Yes or No?") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        shown += Drain(output.fds[0]);
    }
    ASSERT_NE(shown.find("Yes or No?"), std::string::npos);
    ASSERT_EQ(kill(child, SIGTERM), 0);
    // Should the stop go unheard, an answer ends the question anyway.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_EQ(write(master, "no\n", 3), 3);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 42);
    close(terminal);
    close(master);
}

}  // namespace
}  // namespace quillmere
