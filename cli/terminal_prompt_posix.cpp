#include "cli/terminal_prompt.h"

#include "cli/raw_io.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace orvelin::cli {
namespace {

// Longer than any code; stops a runaway line from growing without bound.
constexpr std::size_t kLongestLine = 4096;

// What the signal handler needs to give the terminal its echo back.
int gTerminal = -1;
termios gSaved{};

const int kInterruptions[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void restoreAndReraise(int signal) {
    tcsetattr(gTerminal, TCSAFLUSH, &gSaved);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Echo stays off only for the read, and comes back on any interruption.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd) {
        if (tcgetattr(fd_, &gSaved) != 0) {
            error_ = errno;
            return;
        }
        gTerminal = fd_;
        for (int i = 0; i < kSignalCount; ++i) previous_[i] = std::signal(kInterruptions[i], restoreAndReraise);
        termios quiet = gSaved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        if (tcsetattr(fd_, TCSAFLUSH, &quiet) != 0) error_ = errno;
    }
    ~EchoOff() {
        if (gTerminal < 0) return;
        tcsetattr(fd_, TCSAFLUSH, &gSaved);
        for (int i = 0; i < kSignalCount; ++i) std::signal(kInterruptions[i], previous_[i]);
        gTerminal = -1;
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

    // 0 when echo is off, else the errno value of the failure.
    int error() const { return error_; }

private:
    static constexpr int kSignalCount = sizeof kInterruptions / sizeof kInterruptions[0];
    int fd_;
    int error_ = 0;
    void (*previous_[kSignalCount])(int) = {};
};

// Reads up to the line break (or end of input); returns 0 or errno.
int readLine(int fd, std::string& line) {
    line.clear();
    char ch = 0;
    for (;;) {
        const ssize_t got = read(fd, &ch, 1);
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (got == 0 || ch == '\n') break;
        if (line.size() < kLongestLine) line += ch;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return 0;
}

// A prompt that cannot be shown is no reason to stop.
void say(const char* text) { writeAll(STDERR_FILENO, text); }

}  // namespace

PromptResult readHiddenLine(const char* prompt, std::string& line) {
    const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return PromptResult::NoTerminal;
    int failure = 0;
    {
        EchoOff echoOff(fd);
        failure = echoOff.error();
        if (failure == 0) {
            say(prompt);
            failure = readLine(fd, line);
            say("\n");  // the user's Enter was not echoed
        }
    }
    close(fd);
    errno = failure;
    return failure == 0 ? PromptResult::Ok : PromptResult::Failed;
}

}  // namespace orvelin::cli
