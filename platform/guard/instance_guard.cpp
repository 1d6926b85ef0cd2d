#include "instance_guard.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace orvelin::platform {

#ifdef _WIN32

// A named mutex created owned: no global prefix, so one copy per logon session.
InstanceGuard::InstanceGuard(const std::string&, const std::string& name) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
    if (!mutex) return;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);  // not ours to own: only the marker's existence mattered
        state_ = State::AlreadyRunning;
        return;
    }
    handle_ = mutex;
    state_ = State::Acquired;
}

// Released, not closed: the handle lives until the process ends.
void InstanceGuard::release() {
    if (!handle_) return;
    ReleaseMutex(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

#else

// An exclusive flock on a file in the user's runtime folder. The kernel drops
// it when the process ends, however it ends, so a crash leaves no stale lock.
InstanceGuard::InstanceGuard(const std::string& runtimeDir, const std::string& name) {
    if (runtimeDir.empty() || name.empty()) return;
    const std::string path = runtimeDir + "/" + name;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        state_ = errno == EWOULDBLOCK ? State::AlreadyRunning : State::Unavailable;
        ::close(fd);
        return;
    }
    fd_ = fd;
    state_ = State::Acquired;
}

// The file stays: removing it would let a starting copy lock a fresh file
// while another still holds the old one.
void InstanceGuard::release() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

#endif

InstanceGuard::~InstanceGuard() { release(); }

}  // namespace orvelin::platform
