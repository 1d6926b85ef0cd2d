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

namespace {

// Calls `readSome(at, room)` until `size` bytes are in or it meets the end.
template <typename ReadSome>
int fill(ReadSome readSome, char* into, std::size_t size, std::size_t& got) {
    for (got = 0; got < size;) {
        const ssize_t n = readSome(into + got, std::min(size - got, kLargestCall));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

int readFully(int fd, char* into, std::size_t size, std::size_t& got) {
    return fill([fd](char* at, std::size_t room) { return read(fd, at, room); }, into, size, got);
}

#ifndef _WIN32
int readFullyAt(int fd, std::uint64_t offset, char* into, std::size_t size, std::size_t& got) {
    const auto readAt = [fd, offset, into](char* at, std::size_t room) {
        return pread(fd, at, room, static_cast<off_t>(offset + static_cast<std::size_t>(at - into)));
    };
    return fill(readAt, into, size, got);
}
#endif

bool sameRegularFile(int a, int b) {
    struct stat first {};
    struct stat second {};
    return fstat(a, &first) == 0 && fstat(b, &second) == 0 && S_ISREG(first.st_mode) &&
           S_ISREG(second.st_mode) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// A pipe holds 64 KiB by default, so a large result crosses it in many small
// hand-overs between writer and reader; a wider pipe makes far fewer. Where
// the system says no, the writes just go the slower way.
void widenPipe(int fd) {
#if defined(F_SETPIPE_SZ) && defined(F_GETPIPE_SZ)
    constexpr int kWidePipe = 1 << 20;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISFIFO(info.st_mode)) return;
    const int size = fcntl(fd, F_GETPIPE_SZ);
    if (size >= 0 && size < kWidePipe) (void)fcntl(fd, F_SETPIPE_SZ, kWidePipe);  // never narrower
#else
    (void)fd;
#endif
}

int writeAll(int fd, std::string_view bytes) {
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
