#pragma once
// What the file tests need to make failures real for a root test process:
// small file systems that fill up, read-only mounts, immutable files, a
// forked child with a file size limit, another real user for access tests.

#include <QString>
#include <functional>
#include <string>

namespace orvelin::testing {

std::string readBytes(const QString& path);
void writeBytes(const QString& path, const std::string& bytes);
// The names in a folder, hidden ones included (a left-over temporary file shows).
QStringList entryNames(const QString& dir);

bool runningAsRoot();

// A mount undone when the object goes; failed() tells why it could not be made.
class ScopedMount {
public:
    static ScopedMount tmpfs(const QString& at, int kibibytes);
    static ScopedMount readOnlyBind(const QString& from, const QString& at);
    ~ScopedMount();
    ScopedMount(ScopedMount&& other) noexcept;
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;

    bool failed() const { return !error_.isEmpty(); }
    QString error() const { return error_; }

private:
    ScopedMount() = default;
    QString at_;
    QString error_;
};

// Writes a filler file into `dir` until the file system says it is full.
bool fillUp(const QString& dir);

// Sets or clears the immutable flag, which denies writing even to root.
bool setImmutable(const QString& path, bool on);

// Runs `body` in a forked child and returns its exit code (-1 when it did not
// exit normally), so limits set there never reach the test process.
int inChild(const std::function<int()>& body);

// Makes the real user "nobody" while it lives, the effective user staying
// root: the access tests then answer for nobody, while files still open.
class ScopedRealUserNobody {
public:
    ScopedRealUserNobody();
    ~ScopedRealUserNobody();
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

constexpr unsigned kNobody = 65534;

}  // namespace orvelin::testing
