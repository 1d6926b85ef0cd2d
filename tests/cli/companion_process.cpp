#include "companion_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace orvelin::testing {
namespace {

std::string gCompanionPath;

void check(int result, const char* what) {
    if (result != 0) throw std::system_error(result, std::generic_category(), what);
}

// The test's own environment less any ORVELIN_CODE, plus the one asked for.
std::vector<std::string> childEnvironment(const std::optional<std::string>& code) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "ORVELIN_CODE=", 13) != 0) entries.emplace_back(*entry);
    }
    if (code) entries.push_back("ORVELIN_CODE=" + *code);
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

void writeAllTo(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno == EPIPE) return;  // the child stopped reading; its status tells why
        if (put < 0) throw std::system_error(errno, std::generic_category(), "write to the child");
        done += static_cast<std::size_t>(put);
    }
}

int waitFor(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "waitpid");
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvelin-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    }
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::write(const std::string& name, const std::string& bytes) const {
    const std::string file = path(name);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    return file;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void setCompanionPath(std::string path) { gCompanionPath = std::move(path); }
const std::string& companionPath() { return gCompanionPath; }

Outcome runCompanion(const Invocation& invocation) {
    const ScratchDir streams;
    const std::string inPath = streams.write("stdin", invocation.input);
    const std::string outPath = streams.path("stdout");
    const std::string errPath = streams.path("stderr");

    int pipeEnds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    check(posix_spawn_file_actions_init(&actions), "file actions");
    if (invocation.inputThroughPipe) {
        if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
        check(posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO), "dup2");
    } else {
        check(posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inPath.c_str(), O_RDONLY, 0), "stdin");
    }
    check(posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600), "stdout");
    check(posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                           O_WRONLY | O_CREAT | O_TRUNC, 0600), "stderr");
    posix_spawnattr_t attributes;
    check(posix_spawnattr_init(&attributes), "attributes");
    // The tests ignore SIGPIPE for their own writes; the child gets it back.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    check(posix_spawnattr_setsigdefault(&attributes, &defaults), "signal defaults");
    check(posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF), "flags");

    std::vector<std::string> argv{companionPath()};
    argv.insert(argv.end(), invocation.args.begin(), invocation.args.end());
    std::vector<std::string> env = childEnvironment(invocation.codeInEnv);
    std::vector<char*> argvPointers = pointersTo(argv);
    std::vector<char*> envPointers = pointersTo(env);

    pid_t child = 0;
    const int spawned = posix_spawn(&child, companionPath().c_str(), &actions, &attributes,
                                    argvPointers.data(), envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    check(spawned, "posix_spawn");

    if (invocation.inputThroughPipe) {
        close(pipeEnds[0]);
        writeAllTo(pipeEnds[1], invocation.input);
        close(pipeEnds[1]);
    }
    Outcome outcome;
    outcome.status = waitFor(child);
    outcome.out = readFile(outPath);
    outcome.err = readFile(errPath);
    return outcome;
}

}  // namespace orvelin::testing
