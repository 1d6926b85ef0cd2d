// Replaces a file's contents so that no failure can cost the old file: the new
// bytes go to a temporary file beside it, which takes the old file's place
// only once every byte is on disk. Truncating the old file first would leave
// it empty or cut when the disk is full or a size limit is reached.
#include "platform/files/atomic_file_writer.h"

#include <algorithm>
#include <memory>
#include <utility>

#ifdef _WIN32
#include "platform/files/unique_handle.h"

#include <windows.h>
#else
#include "platform/files/unique_fd.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvelin::platform::files {

namespace {

constexpr std::size_t kLargestSingleWrite = std::size_t(1) << 30;

// The folder part of a path, for creating the temporary file beside it.
std::string directoryOf(const std::string& path) {
#ifdef _WIN32
    const auto slash = path.find_last_of("/\\");
#else
    const auto slash = path.find_last_of('/');
#endif
    if (slash == std::string::npos) return ".";
    if (slash == 0) return path.substr(0, 1);
    return path.substr(0, slash);
}

#ifdef _WIN32

// Hands the bytes to the system in pieces it accepts, stopping at the first
// piece it does not take whole.
bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kLargestSingleWrite));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// An existing target must be a plain file we may open for writing: a folder or
// a device would be destroyed, and a read-only file must stay refused.
bool mayReplace(const std::string& path) {
    UniqueHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return probe.valid() && GetFileType(probe.get()) == FILE_TYPE_DISK;
}

// ReplaceFile keeps the old file's attributes and security settings.
bool moveOnto(const std::string& temporary, const std::string& target, bool replacing) {
    if (replacing)
        return ReplaceFileA(target.c_str(), temporary.c_str(), nullptr,
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
    return MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

#else

// Hands the bytes to the system, going on after short writes and
// interruptions, and stopping at the first real failure (a full disk, a file
// size limit).
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), std::min(bytes.size(), kLargestSingleWrite));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A file system that cannot sync has nothing more to flush; any other
// failure means the bytes may not be on disk.
bool syncFile(int fd) {
    if (::fsync(fd) == 0) return true;
    return errno == EINVAL || errno == ENOTSUP || errno == ENOSYS;
}

// Makes the rename itself last; a failure here changes nothing for the user.
void syncDirectory(const std::string& directory) {
    UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) (void)::fsync(dir.get());
}

struct Target {
    std::string path;
    bool exists = false;
};

// Where the bytes belong: symbolic links are followed, so a link stays a link
// and the file it names gets the text (even when that file is still missing).
std::optional<Target> locateTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT) return Target{path, false};
            return std::nullopt;
        }
        if (!S_ISLNK(st.st_mode)) return Target{path, true};
        char link[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), link, sizeof link);
        if (n < 0 || n == static_cast<ssize_t>(sizeof link)) return std::nullopt;
        const std::string to(link, static_cast<std::size_t>(n));
        path = to.front() == '/' ? to : directoryOf(path) + "/" + to;
    }
    return std::nullopt;
}

// An existing target must be a regular file we may open for writing:
// replacing a device, FIFO or folder would destroy it, and a file we may not
// write (read-only, immutable, on a read-only mount) must stay refused even
// when its folder would take a new file. Fills `old` with its owner and mode.
bool mayReplace(const std::string& path, struct stat& old) {
    if (::stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return false;
    UniqueFd probe(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    return probe.valid() && ::fstat(probe.get(), &opened) == 0 && S_ISREG(opened.st_mode) &&
           opened.st_dev == old.st_dev && opened.st_ino == old.st_ino;
}

// The replacement keeps the old file's owner where we may set it, then its
// permissions (in this order: a change of owner clears set-id bits). Neither
// is worth failing a save for: some file systems refuse both.
void copyOwnerAndMode(int fd, const struct stat& old) {
    (void)::fchown(fd, old.st_uid, old.st_gid);
    (void)::fchmod(fd, old.st_mode & 07777);
}

std::string randomSuffix() {
    static std::mt19937_64 generator(std::random_device{}() ^
                                     static_cast<std::uint64_t>(
                                         std::chrono::steady_clock::now().time_since_epoch().count()));
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

// An empty file of a fresh name in the target's folder, removed again unless
// it has been moved onto the target.
class TemporarySibling {
public:
    // A new target gets 0666 less the umask, as a file the program creates
    // directly would; a replacement starts private and then takes the old
    // file's permissions.
    TemporarySibling(const std::string& directory, mode_t mode) {
        for (int attempt = 0; attempt < 100 && !fd_.valid(); ++attempt) {
            path_ = directory + "/.orvelin-save-" + randomSuffix();
            fd_ = UniqueFd(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
            if (!fd_.valid() && errno != EEXIST) break;
        }
        if (!fd_.valid()) path_.clear();
    }
    ~TemporarySibling() {
        fd_.reset();
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporarySibling(const TemporarySibling&) = delete;
    TemporarySibling& operator=(const TemporarySibling&) = delete;

    bool created() const { return fd_.valid(); }
    int fd() const { return fd_.get(); }

    // close() reports what a delayed write (a network disk) could not store.
    bool close() {
        const int fd = fd_.release();
        return ::close(fd) == 0 || errno == EINTR;
    }

    bool moveOnto(const std::string& target) {
        if (::rename(path_.c_str(), target.c_str()) != 0) return false;
        path_.clear();
        return true;
    }

private:
    std::string path_;
    UniqueFd fd_;
};

#endif

}  // namespace

#ifdef _WIN32

// The temporary file, created empty by GetTempFileName and opened for the
// new contents.
struct AtomicFileWriter::Temporary {
    Temporary(const std::string& targetPath, bool replacingTarget, const char* temporaryPath)
        : target(targetPath),
          replacing(replacingTarget),
          path(temporaryPath),
          file(CreateFileA(temporaryPath, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr)) {}

    std::string target;
    bool replacing;
    std::string path;
    UniqueHandle file;
    bool committed = false;

    ~Temporary() {
        file.close();
        if (!committed && !path.empty()) DeleteFileA(path.c_str());
    }
};

WriteStatus AtomicFileWriter::open(const std::string& path) {
    temporary_.reset();
    status_ = WriteStatus::CannotCreate;
    if (path.empty()) return status_;
    const bool replacing = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (replacing && !mayReplace(path)) return status_;
    char name[MAX_PATH + 1];
    if (GetTempFileNameA(directoryOf(path).c_str(), "orv", 0, name) == 0) return status_;
    // Kept even when it cannot be opened, so that it is deleted again.
    temporary_ = std::make_unique<Temporary>(path, replacing, name);
    if (temporary_->file.valid()) status_ = WriteStatus::Ok;
    return status_;
}

WriteStatus AtomicFileWriter::write(std::string_view bytes) {
    if (status_ == WriteStatus::Ok && !writeAll(temporary_->file.get(), bytes)) status_ = WriteStatus::WriteError;
    return status_;
}

WriteStatus AtomicFileWriter::commit() {
    if (status_ != WriteStatus::Ok) return status_;
    const bool flushed = FlushFileBuffers(temporary_->file.get()) != 0;
    const bool closed = temporary_->file.close();
    if (!flushed || !closed) return status_ = WriteStatus::WriteError;
    if (!moveOnto(temporary_->path, temporary_->target, temporary_->replacing))
        return status_ = WriteStatus::CannotCreate;
    temporary_->committed = true;
    return status_;
}

#else

struct AtomicFileWriter::Temporary {
    Temporary(const std::string& targetPath, mode_t mode)
        : target(targetPath), directory(directoryOf(targetPath)), sibling(directory, mode) {}

    std::string target;
    std::string directory;
    TemporarySibling sibling;
};

WriteStatus AtomicFileWriter::open(const std::string& path) {
    temporary_.reset();
    status_ = WriteStatus::CannotCreate;
    if (path.empty()) return status_;
    const std::optional<Target> target = locateTarget(path);
    if (!target) return status_;
    struct stat old {};
    if (target->exists && !mayReplace(target->path, old)) return status_;

    auto temporary = std::make_unique<Temporary>(target->path, target->exists ? 0600 : 0666);
    if (!temporary->sibling.created()) return status_;
    if (target->exists) copyOwnerAndMode(temporary->sibling.fd(), old);
    temporary_ = std::move(temporary);
    return status_ = WriteStatus::Ok;
}

WriteStatus AtomicFileWriter::write(std::string_view bytes) {
    if (status_ == WriteStatus::Ok && !writeAll(temporary_->sibling.fd(), bytes)) status_ = WriteStatus::WriteError;
    return status_;
}

WriteStatus AtomicFileWriter::commit() {
    if (status_ != WriteStatus::Ok) return status_;
    const bool synced = syncFile(temporary_->sibling.fd());
    const bool closed = temporary_->sibling.close();
    if (!synced || !closed) return status_ = WriteStatus::WriteError;
    if (!temporary_->sibling.moveOnto(temporary_->target)) return status_ = WriteStatus::CannotCreate;
    syncDirectory(temporary_->directory);
    return status_;
}

#endif

AtomicFileWriter::AtomicFileWriter() = default;
AtomicFileWriter::~AtomicFileWriter() = default;

}  // namespace orvelin::platform::files
