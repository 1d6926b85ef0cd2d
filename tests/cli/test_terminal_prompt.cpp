// The session code asked for on a terminal: a pseudo-terminal stands in for
// the user, so the prompt, the missing echo and the restored settings can be
// seen from outside.

#include "codec/codec.h"
#include "companion_process.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>

using orvelin::testing::companionPath;
using orvelin::testing::readFile;
using orvelin::testing::ScratchDir;

namespace {

constexpr int kPatienceMs = 10000;

// The companion on the slave side of a fresh pseudo-terminal.
class CompanionOnTerminal {
public:
    CompanionOnTerminal(const std::string& input, const std::string& output) {
        child_ = forkpty(&master_, nullptr, nullptr, nullptr);
        if (child_ == 0) {
            unsetenv("ORVELIN_CODE");
            std::signal(SIGPIPE, SIG_DFL);
            execl(companionPath().c_str(), "orvelin-codec", "encode", input.c_str(), "-o",
                  output.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~CompanionOnTerminal() {
        if (child_ > 0 && !reaped_) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        if (master_ >= 0) close(master_);
    }

    bool started() const { return child_ > 0; }

    // Everything the terminal shows until `marker` appears or the child ends.
    std::string readUntil(const std::string& marker) {
        std::string shown;
        char chunk[256];
        while (marker.empty() || shown.find(marker) == std::string::npos) {
            pollfd waiting{master_, POLLIN, 0};
            if (poll(&waiting, 1, kPatienceMs) <= 0) break;
            const ssize_t got = read(master_, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;  // EIO: the child closed the terminal
            shown.append(chunk, static_cast<std::size_t>(got));
        }
        return shown;
    }

    void type(const std::string& keys) {
        ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    int exitStatus() {
        int status = 0;
        if (waitpid(child_, &status, 0) != child_) return -1;
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // The exit status, or -1 when the child is still running after `ms`.
    int exitStatusWithin(int ms) {
        for (int waited = 0; waited <= ms; waited += 10) {
            int status = 0;
            if (waitpid(child_, &status, WNOHANG) == child_) {
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            usleep(10 * 1000);
        }
        return -1;
    }

    bool echoes() const {
        termios settings{};
        return tcgetattr(master_, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    }

private:
    int master_ = -1;
    pid_t child_ = -1;
    bool reaped_ = false;
};

}  // namespace

TEST(CompanionOnATerminal, AsksForTheCodeWithoutEchoingIt) {
    ScratchDir dir;
    const std::string text = "Текст для проверки";
    const std::string input = dir.write("plain.txt", text);
    const std::string output = dir.path("encoded.txt");
    CompanionOnTerminal companion(input, output);
    ASSERT_TRUE(companion.started());

    ASSERT_NE(companion.readUntil("Session code: ").find("Session code: "), std::string::npos);
    EXPECT_FALSE(companion.echoes());
    companion.type("пароль1\n");
    const std::string shownAfter = companion.readUntil("");
    EXPECT_EQ(companion.exitStatus(), 0);

    EXPECT_EQ(shownAfter.find("пароль1"), std::string::npos) << "the code was echoed";
    std::string expected;
    ASSERT_EQ(orvelin::codec::encode(text, "\xEF\xE0\xF0\xEE\xEB\xFC" "1", expected),
              orvelin::codec::Outcome::Ok);
    EXPECT_EQ(readFile(output), expected);
    EXPECT_TRUE(companion.echoes());
}

TEST(CompanionOnATerminal, InterruptedPromptGivesTheEchoBack) {
    ScratchDir dir;
    const std::string input = dir.write("plain.txt", "text");
    const std::string output = dir.path("encoded.txt");
    CompanionOnTerminal companion(input, output);
    ASSERT_TRUE(companion.started());

    ASSERT_NE(companion.readUntil("Session code: ").find("Session code: "), std::string::npos);
    companion.type("\x03");  // Ctrl+C
    companion.readUntil("");
    EXPECT_EQ(companion.exitStatus(), 128 + SIGINT);
    EXPECT_TRUE(companion.echoes());
    EXPECT_NE(access(output.c_str(), F_OK), 0) << "an interrupted run wrote its output";
}

// Text typed on the terminal ends at Ctrl+D at the start of a line: the
// program must not wait for more after it.
TEST(CompanionOnATerminal, TypedTextEndsAtCtrlD) {
    ScratchDir dir;
    const std::string output = dir.path("encoded.txt");
    CompanionOnTerminal companion("-", output);
    ASSERT_TRUE(companion.started());

    ASSERT_NE(companion.readUntil("Session code: ").find("Session code: "), std::string::npos);
    companion.type("secret7\n");
    // Typed before the echo is back, the text would be flushed with the prompt's settings.
    for (int waited = 0; !companion.echoes() && waited < kPatienceMs; waited += 10) usleep(10 * 1000);
    companion.type("line one\n\x04");
    companion.readUntil("");
    EXPECT_EQ(companion.exitStatusWithin(kPatienceMs), 0);
    std::string expected;
    ASSERT_EQ(orvelin::codec::encode("line one\n", "secret7", expected), orvelin::codec::Outcome::Ok);
    EXPECT_EQ(readFile(output), expected);
}
