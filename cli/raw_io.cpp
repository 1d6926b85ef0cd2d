#include "cli/raw_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include <io.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstddef>

namespace orvelin::cli {
namespace {

constexpr std::size_t kStreamChunk = std::size_t{1} << 20;
// Linux moves at most about 2 GiB per call; smaller calls keep that in bounds.
constexpr std::size_t kLargestCall = std::size_t{1} << 30;

// Room for the whole of a regular file plus one byte, so that the read that
// meets the end needs no growth; for pipes and terminals, a chunk at a time.
std::size_t firstReservation(int fd) {
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        return static_cast<std::size_t>(info.st_size) + 1;
    }
    return kStreamChunk;
}

}  // namespace

void useBinaryStandardStreams() {
#ifdef _WIN32
    _setmode(STDIN_FILENO, _O_BINARY);
    _setmode(STDOUT_FILENO, _O_BINARY);
#endif
}

int openForReading(const std::string& path) {
#ifdef _WIN32
    return open(path.c_str(), O_RDONLY | O_BINARY);
#else
    return open(path.c_str(), O_RDONLY | O_CLOEXEC);
#endif
}

int readToEnd(int fd, ByteBuffer& buffer) {
    if (!buffer.reserveMore(firstReservation(fd))) return ENOMEM;
    for (;;) {
        if (buffer.freeSize() == 0 && !buffer.reserveMore(kStreamChunk)) return ENOMEM;
        const ssize_t got = read(fd, buffer.freeSpace(), std::min(buffer.freeSize(), kLargestCall));
        if (got < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (got == 0) return 0;
        buffer.commit(static_cast<std::size_t>(got));
    }
}

// A pipe holds 64 KiB by default, so a large result crosses it in many small
// hand-overs between writer and reader; a wider pipe makes far fewer. Where
// the system says no, the write just goes the slower way.
static void widenPipe(int fd, std::size_t bytes) {
#ifdef F_SETPIPE_SZ
    constexpr int kWidePipe = 1 << 20;
    struct stat info {};
    if (bytes > kWidePipe && fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode)) fcntl(fd, F_SETPIPE_SZ, kWidePipe);
#else
    (void)fd;
    (void)bytes;
#endif
}

int writeAll(int fd, std::string_view bytes) {
    widenPipe(fd, bytes.size());
    while (!bytes.empty()) {
        const ssize_t put = write(fd, bytes.data(), std::min(bytes.size(), kLargestCall));
        if (put < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

}  // namespace orvelin::cli
