#include "platform/guard/instance_guard.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using orvelin::platform::InstanceGuard;
using State = InstanceGuard::State;

namespace {

// A copy of the program in another process: takes the guard, reports how it
// went through a pipe and keeps it until killed.
class OtherCopy {
public:
    explicit OtherCopy(const std::string& folder) {
        int report[2];
        if (::pipe(report) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(report[0]);
            const InstanceGuard guard(folder);
            const char state = static_cast<char>(guard.state());
            (void)::write(report[1], &state, 1);
            for (;;) ::pause();
        }
        ::close(report[1]);
        char state = -1;
        if (pid_ > 0 && ::read(report[0], &state, 1) == 1) state_ = static_cast<State>(state);
        ::close(report[0]);
    }

    ~OtherCopy() { kill(); }

    bool started() const { return pid_ > 0 && state_.has_value(); }
    State state() const { return *state_; }

    // SIGKILL: no destructor, no release; only the kernel can free the guard.
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    std::optional<State> state_;
};

}  // namespace

class TestInstanceGuard : public QObject {
    Q_OBJECT
private slots:
    void init();
    void secondGuardIsRefusedUntilFirstIsReleased();
    void guardsWithOtherNamesDoNotMeet();
    void otherProcessIsRefusedWhileWeHoldIt();
    void guardOfKilledProcessIsFreedAgain();
    void unusableFolderLeavesGuardUnavailable_data();
    void unusableFolderLeavesGuardUnavailable();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::string path() const { return folder_->path().toStdString(); }
};

void TestInstanceGuard::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
}

void TestInstanceGuard::secondGuardIsRefusedUntilFirstIsReleased() {
    InstanceGuard first(path());
    QCOMPARE(first.state(), State::Acquired);
    QCOMPARE(InstanceGuard(path()).state(), State::AlreadyRunning);

    first.release();
    QCOMPARE(InstanceGuard(path()).state(), State::Acquired);
}

void TestInstanceGuard::guardsWithOtherNamesDoNotMeet() {
    const InstanceGuard ours(path());
    const InstanceGuard theirs(path(), "another_program");
    QCOMPARE(ours.state(), State::Acquired);
    QCOMPARE(theirs.state(), State::Acquired);
}

void TestInstanceGuard::otherProcessIsRefusedWhileWeHoldIt() {
    const InstanceGuard ours(path());
    QCOMPARE(ours.state(), State::Acquired);
    OtherCopy other(path());
    QVERIFY(other.started());
    QCOMPARE(other.state(), State::AlreadyRunning);
}

void TestInstanceGuard::guardOfKilledProcessIsFreedAgain() {
    OtherCopy other(path());
    QVERIFY(other.started());
    QCOMPARE(other.state(), State::Acquired);
    QCOMPARE(InstanceGuard(path()).state(), State::AlreadyRunning);

    other.kill();
    QCOMPARE(InstanceGuard(path()).state(), State::Acquired);
}

void TestInstanceGuard::unusableFolderLeavesGuardUnavailable_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("needsPermissionChecks");
    QTest::newRow("no folder given") << QString() << false;
    QTest::newRow("missing folder") << "missing" << false;
    QTest::newRow("a file, not a folder") << "file" << false;
    QTest::newRow("the guard's name is taken by a folder") << "taken" << false;
    QTest::newRow("read-only folder") << "read-only" << true;
}

void TestInstanceGuard::unusableFolderLeavesGuardUnavailable() {
    QFETCH(QString, folder);
    QFETCH(bool, needsPermissionChecks);
    if (needsPermissionChecks && ::geteuid() == 0) QSKIP("root writes into read-only folders");

    std::string runtimeDir;
    if (folder == "missing") runtimeDir = path() + "/missing";
    if (folder == "file") {
        QFile file(folder_->filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        runtimeDir = file.fileName().toStdString();
    }
    if (folder == "taken") {
        QVERIFY(::mkdir((path() + "/" + orvelin::platform::kInstanceName).c_str(), 0700) == 0);
        runtimeDir = path();
    }
    if (folder == "read-only") {
        runtimeDir = path() + "/read-only";
        QVERIFY(::mkdir(runtimeDir.c_str(), 0500) == 0);
    }

    QCOMPARE(InstanceGuard(runtimeDir).state(), State::Unavailable);
}

QTEST_APPLESS_MAIN(TestInstanceGuard)
#include "tst_instance_guard.moc"
