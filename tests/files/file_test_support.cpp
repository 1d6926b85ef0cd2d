#include "file_test_support.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvelin::testing {

std::string readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<unreadable>";
    return file.readAll().toStdString();
}

void writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QStringList entryNames(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

bool runningAsRoot() { return ::geteuid() == 0; }

static QString lastError(const char* what) {
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}

ScopedMount ScopedMount::tmpfs(const QString& at, int kibibytes) {
    ScopedMount mount;
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
    if (::mount("tmpfs", QFile::encodeName(at).constData(), "tmpfs", 0, options.constData()) != 0)
        mount.error_ = lastError("mount tmpfs");
    else
        mount.at_ = at;
    return mount;
}

ScopedMount ScopedMount::readOnlyBind(const QString& from, const QString& at) {
    ScopedMount mount;
    const QByteArray target = QFile::encodeName(at);
    if (::mount(QFile::encodeName(from).constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0) {
        mount.error_ = lastError("bind mount");
        return mount;
    }
    mount.at_ = at;
    if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        mount.error_ = lastError("remount read-only");
    return mount;
}

ScopedMount::ScopedMount(ScopedMount&& other) noexcept : at_(other.at_), error_(other.error_) {
    other.at_.clear();
}

ScopedMount::~ScopedMount() {
    if (!at_.isEmpty()) ::umount2(QFile::encodeName(at_).constData(), MNT_DETACH);
}

bool fillUp(const QString& dir) {
    const QByteArray path = QFile::encodeName(dir + "/filler");
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    static const char block[4096] = {};
    bool full = false;
    for (;;) {
        const ssize_t n = ::write(fd, block, sizeof block);
        if (n > 0) continue;
        full = n < 0 && errno == ENOSPC;
        if (n < 0 && errno == EINTR) continue;
        break;
    }
    ::close(fd);
    return full;
}

bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

int inChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) ::_exit(body());
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ScopedRealUserNobody::ScopedRealUserNobody() { ok_ = ::setreuid(kNobody, static_cast<uid_t>(-1)) == 0; }

ScopedRealUserNobody::~ScopedRealUserNobody() {
    if (ok_) (void)::setreuid(0, static_cast<uid_t>(-1));
}

}  // namespace orvelin::testing
