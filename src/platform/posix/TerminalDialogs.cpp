#include "platform/posix/TerminalDialogs.h"

#include <glib-unix.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <string>

namespace quillmere {

namespace {

void WriteAll(int fd, const std::string& text) {
    const char* next = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t n = write(fd, next, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return;  // nowhere left to report to
        }
        next += n;
        left -= static_cast<std::size_t>(n);
    }
}

// Runs GLib's default main context until `fd` has input, so that a stop signal is heard while
// the question waits for its answer.
void WaitUntilReadable(int fd) {
    bool readable = false;
    GSource* watch = g_unix_fd_source_new(
        fd, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR | G_IO_NVAL));
    GUnixFDSourceFunc onReady = [](gint, GIOCondition, gpointer data) {
        *static_cast<bool*>(data) = true;
        return G_SOURCE_REMOVE;
    };
    g_source_set_callback(watch, G_SOURCE_FUNC(onReady), &readable, nullptr);
    g_source_attach(watch, nullptr);
    while (!readable) g_main_context_iteration(nullptr, TRUE);
    g_source_destroy(watch);
    g_source_unref(watch);
}

// Reads one line, without its line feed, into `line`; false at end of input before any byte.
bool ReadLine(int fd, std::string& line) {
    line.clear();
    constexpr std::size_t kLongestAnswer = 256;
    for (;;) {
        WaitUntilReadable(fd);
        char c = 0;
        ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return !line.empty();
        if (c == '\n') return true;
        if (line.size() < kLongestAnswer) line += c;
    }
}

bool IsYes(const std::string& answer) {
    std::string word;
    for (char c : answer) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return word == "y" || word == "yes";
}

}  // namespace

TerminalDialogs::TerminalDialogs(int inputFd, int outputFd)
    : inputFd_(inputFd), outputFd_(outputFd) {}

MessageBoxAnswer TerminalDialogs::ShowMessageBox(std::string_view text, std::string_view caption,
                                                 MessageBoxStyle style) {
    const bool question = style.buttons == MessageBoxButtons::YesNo;
    std::string box;
    box += "== ";
    box += caption;
    box += " ==\n";
    box += text;
    box += question ? "\n[Yes] [No]\n" : "\n[OK]\n";
    WriteAll(outputFd_, box);
    if (!question) return MessageBoxAnswer::Ok;

    if (isatty(inputFd_) != 1) {
        WriteAll(outputFd_, "No (no terminal to answer on)\n");
        return MessageBoxAnswer::No;
    }
    WriteAll(outputFd_, "Yes or No? [No] ");
    std::string line;
    if (!ReadLine(inputFd_, line)) {
        WriteAll(outputFd_, "\n");
        return MessageBoxAnswer::No;
    }
    return IsYes(line) ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

}  // namespace quillmere
