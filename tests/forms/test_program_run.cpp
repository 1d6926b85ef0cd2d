// The run as a whole: closing the main window or the session code dialog ends
// the message loop; a second copy started while one runs leaves at once with
// exit code 0; without a display the program says how to start it.

#include "forms_fixture.h"

#include "forms/Code.h"
#include "forms/Code1.h"
#include "platform/guard/instance_guard.h"
#include "platform/ui/application.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using orvelin::platform::InstanceGuard;
using orvelin::testing::FormsFixture;

namespace {

constexpr int kLoopWentOn = 7;

// Runs the message loop until something ends it, or gives up after a while.
int runLoopAfter(const std::function<void()>& action) {
    QTimer::singleShot(0, qApp, action);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(kLoopWentOn); });
    return QCoreApplication::exec();
}

QProcessEnvironment headlessEnvironment(const QString& runtimeDir) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    return environment;
}

// The guard is held by some process once a fresh guard of ours cannot take it.
bool guardHeldElsewhere(const QString& runtimeDir) {
    const InstanceGuard probe(QFile::encodeName(runtimeDir).toStdString());
    return probe.state() == InstanceGuard::State::AlreadyRunning;
}

}  // namespace

class ProgramRunTest : public QObject {
    Q_OBJECT

private slots:
    void closingEndsTheRun_data();
    void closingEndsTheRun();
    void secondStartLeavesAtOnceWithZero();
    void withoutDisplaySaysHowToStart();
};

void ProgramRunTest::closingEndsTheRun_data() {
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("how");
    QTest::newRow("Exit while waiting for a code") << false << QStringLiteral("Exit");
    QTest::newRow("Exit after Accept") << true << QStringLiteral("Exit");
    QTest::newRow("main window closed while waiting") << false << QStringLiteral("close main window");
    QTest::newRow("main window closed after Accept") << true << QStringLiteral("close main window");
    QTest::newRow("dialog closed while waiting") << false << QStringLiteral("close dialog");
}

void ProgramRunTest::closingEndsTheRun() {
    QFETCH(bool, accepted);
    QFETCH(QString, how);
    FormsFixture forms;
    if (accepted) forms.acceptCode();
    const int exitCode = runLoopAfter([how] {
        if (how == QLatin1String("Exit"))
            Uwens->N11->trigger();
        else if (how == QLatin1String("close main window"))
            Uwens->close();
        else
            Trivor->close();
    });
    QCOMPARE(exitCode, 0);
    QVERIFY(!Trivor->isVisible());
    if (how != QLatin1String("close dialog")) QVERIFY(!Uwens->isVisible());
}

void ProgramRunTest::secondStartLeavesAtOnceWithZero() {
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QProcessEnvironment environment = headlessEnvironment(runtime.path());

    QProcess first;
    first.setProcessEnvironment(environment);
    QElapsedTimer waited;
    waited.start();
    // Our probe may beat a starting copy to the guard, which then leaves
    // quietly as a second copy would: start it again.
    while (!guardHeldElsewhere(runtime.path())) {
        QVERIFY2(waited.elapsed() < 20000, "the first copy never took the guard");
        if (first.state() == QProcess::NotRunning) {
            first.start(QStringLiteral(ORVELIN_PROGRAM), QStringList());
            QVERIFY(first.waitForStarted());
        }
        QTest::qWait(50);
    }

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(ORVELIN_PROGRAM), QStringList());
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(second.readAllStandardOutput().isEmpty());
    QCOMPARE(first.state(), QProcess::Running);

    first.kill();
    QVERIFY(first.waitForFinished(10000));
}

void ProgramRunTest::withoutDisplaySaysHowToStart() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ORVELIN_PROGRAM), QStringList());
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY(program.exitCode() != 0);
    const QByteArray said = program.readAllStandardError();
    QCOMPARE(said.count('\n'), 1);
    QVERIFY(said.contains("no display"));
    QVERIFY(said.contains("xvfb-run"));
}

ORVELIN_FORMS_TEST_MAIN(ProgramRunTest)
#include "test_program_run.moc"
