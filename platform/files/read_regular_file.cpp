// Reads a text file whole without trusting it: a FIFO or a device must not
// block or stream forever, and a file over the limit is refused before any of
// it is read. The size the system reports is only a hint: the file may grow or
// shrink while it is read.
#include "platform/files/text_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#ifdef _WIN32
#include "platform/files/unique_handle.h"

#include <windows.h>
#else
#include "platform/files/unique_fd.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvelin::platform::files {

namespace {

constexpr std::size_t kMinimumGrowth = 64 * 1024;
constexpr std::size_t kLargestSingleRead = std::size_t(1) << 30;

// One byte past the limit: reading that byte proves the file too large.
std::size_t capacityFor(std::size_t limit) {
    return limit == std::numeric_limits<std::size_t>::max() ? limit : limit + 1;
}

// Reads with `readSome(buffer, size)` (bytes read, 0 at the end, negative on
// failure) until the end or until `cap` bytes have arrived. `sizeHint` is the
// size the system reported; one more byte is asked for to see the end.
template <class ReadSome>
bool readBounded(ReadSome readSome, std::uint64_t sizeHint, std::size_t cap, std::string& into) {
    into.resize(static_cast<std::size_t>(std::min<std::uint64_t>(sizeHint + 1, cap)));
    std::size_t got = 0;
    for (;;) {
        if (got == into.size()) {
            if (got == cap) break;
            const std::size_t growth = std::max(got, kMinimumGrowth);
            into.resize(cap - got > growth ? got + growth : cap);
        }
        const std::size_t wanted = std::min(into.size() - got, kLargestSingleRead);
        const long long n = readSome(&into[got], wanted);
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    into.resize(got);
    return true;
}

// The part both systems share, once the file is known to be a regular one of
// `reportedSize` bytes: refuse it early when too large, else read it whole.
template <class ReadSome>
ReadStatus readWhole(ReadSome readSome, std::uint64_t reportedSize, std::size_t limit, std::string& out) {
    if (reportedSize > limit) return ReadStatus::TooLarge;
    std::string bytes;
    if (!readBounded(readSome, reportedSize, capacityFor(limit), bytes)) return ReadStatus::CannotOpen;
    if (bytes.size() > limit) return ReadStatus::TooLarge;
    out.swap(bytes);
    return ReadStatus::Ok;
}

}  // namespace

#ifdef _WIN32

ReadStatus readRegularFile(const std::string& path, std::size_t limit, std::string& out) {
    // Other readers are welcome; writers are refused while we read.
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid() || GetFileType(file.get()) != FILE_TYPE_DISK) return ReadStatus::CannotOpen;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return ReadStatus::CannotOpen;
    auto readSome = [&](char* buffer, std::size_t wanted) -> long long {
        DWORD n = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(wanted, MAXDWORD));
        return ReadFile(file.get(), buffer, ask, &n, nullptr) ? static_cast<long long>(n) : -1;
    };
    return readWhole(readSome, static_cast<std::uint64_t>(size.QuadPart), limit, out);
}

#else

ReadStatus readRegularFile(const std::string& path, std::size_t limit, std::string& out) {
    // O_NONBLOCK: opening a FIFO with no writer, or a device, must not hang.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) return ReadStatus::CannotOpen;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadStatus::CannotOpen;
    // Writers that ask are kept out while we read; one that holds a lock
    // already is no reason to fail or wait.
    (void)::flock(fd.get(), LOCK_SH | LOCK_NB);
    auto readSome = [&](char* buffer, std::size_t wanted) -> long long {
        for (;;) {
            const ssize_t n = ::read(fd.get(), buffer, wanted);
            if (n >= 0 || errno != EINTR) return n;
        }
    };
    return readWhole(readSome, static_cast<std::uint64_t>(st.st_size), limit, out);
}

#endif

}  // namespace orvelin::platform::files
