#include "platform/ui/application.h"
#include "platform/ui/error_box.h"
#include "support/recording_prompts.h"

#include <QCloseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace orvelin::platform;
using orvelin::testing::RecordingPrompts;

namespace {

// The loop ran to this exit code when nothing else ended it first.
constexpr int kLoopWentOn = 7;

// Runs the application's message loop until it ends, or ends it after a while.
int runLoop() {
    QTimer::singleShot(300, qApp, [] { QCoreApplication::exit(kLoopWentOn); });
    return QCoreApplication::exec();
}

// Throws from its event handler whatever the test hands it.
class Thrower : public QObject {
public:
    std::function<void()> raise;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) raise();
        return QObject::event(event);
    }
};

class Form : public QWidget {
public:
    bool refuseClose = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (refuseClose) event->ignore();
    }
};

void showAndWait(QWidget* window) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

}  // namespace

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void escapedExceptionIsShownOnceAndLoopGoesOn_data();
    void escapedExceptionIsShownOnceAndLoopGoesOn();
    void onlyClosingMainFormEndsLoop_data();
    void onlyClosingMainFormEndsLoop();
    void mainFormClosedBeforeLoopEndsItAtOnce();
    void activationHandlerRunsOnlyWhenFormBecomesActive();
    void exceptionFromActivationHandlerReachesErrorBox();

private:
    Form mainForm_;
    Form secondForm_;
};

void TestApplication::initTestCase() {
    QVERIFY(application());
    application()->registerForm(&mainForm_);
    application()->registerForm(&secondForm_);
    QCOMPARE(application()->mainForm(), &mainForm_);
}

void TestApplication::escapedExceptionIsShownOnceAndLoopGoesOn_data() {
    QTest::addColumn<std::function<void()>>("raise");
    QTest::addColumn<QString>("text");
    QTest::newRow("platform error: its message, full stop added")
        << std::function<void()>([] { throw PlatformError("Cannot open file /tmp/a"); })
        << "Cannot open file /tmp/a.";
    QTest::newRow("other standard exception: empty text")
        << std::function<void()>([] { throw std::runtime_error("internal detail"); }) << "";
    QTest::newRow("not an exception class: empty text")
        << std::function<void()>([] { throw 42; }) << "";
}

void TestApplication::escapedExceptionIsShownOnceAndLoopGoesOn() {
    QFETCH(std::function<void()>, raise);
    QFETCH(QString, text);
    RecordingPrompts prompts;
    Thrower thrower;
    thrower.raise = raise;
    bool laterEventHandled = false;

    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QTimer::singleShot(0, qApp, [&] { laterEventHandled = true; });
    const int exitCode = runLoop();

    QCOMPARE(exitCode, kLoopWentOn);
    QVERIFY(laterEventHandled);
    QCOMPARE(prompts.messages.size(), 1);
    const MessageBoxRequest& box = prompts.messages.first();
    QCOMPARE(box.text, text);
    QCOMPARE(box.caption, QString("tst_platform_application"));
    QCOMPARE(box.icon, Icon::Error);
    QCOMPARE(box.buttons, Buttons::Ok);
    QCOMPARE(box.owner, nullptr);
    QVERIFY(!box.blocksNoWindow);
}

void TestApplication::onlyClosingMainFormEndsLoop_data() {
    QTest::addColumn<bool>("closeMain");
    QTest::addColumn<bool>("mainRefuses");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("closedStaysVisible");
    QTest::newRow("another form: hidden, loop goes on") << false << false << kLoopWentOn << false;
    QTest::newRow("main form: hidden, loop ends") << true << false << 0 << false;
    QTest::newRow("main form refusing to close: loop goes on") << true << true << kLoopWentOn << true;
}

void TestApplication::onlyClosingMainFormEndsLoop() {
    QFETCH(bool, closeMain);
    QFETCH(bool, mainRefuses);
    QFETCH(int, exitCode);
    QFETCH(bool, closedStaysVisible);
    showAndWait(&mainForm_);
    showAndWait(&secondForm_);
    mainForm_.refuseClose = mainRefuses;
    Form& closing = closeMain ? mainForm_ : secondForm_;
    Form& other = closeMain ? secondForm_ : mainForm_;

    QTimer::singleShot(0, &closing, [&closing] { closing.close(); });
    const int result = runLoop();
    mainForm_.refuseClose = false;

    QCOMPARE(result, exitCode);
    QCOMPARE(closing.isVisible(), closedStaysVisible);
    QVERIFY(other.isVisible());
    mainForm_.hide();
    secondForm_.hide();
}

void TestApplication::mainFormClosedBeforeLoopEndsItAtOnce() {
    showAndWait(&mainForm_);
    mainForm_.close();
    QVERIFY(!mainForm_.isVisible());
    QCOMPARE(runLoop(), 0);
}

void TestApplication::activationHandlerRunsOnlyWhenFormBecomesActive() {
    QWidget watched;
    QWidget other;
    int activations = 0;
    onActivate(&watched, [&activations] { ++activations; });
    showAndWait(&other);
    showAndWait(&watched);
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    activations = 0;

    watched.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&watched));
    QCOMPARE(activations, 1);

    watched.activateWindow();
    QTest::qWait(50);
    QCOMPARE(activations, 1);

    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(activations, 1);
    watched.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&watched));
    QCOMPARE(activations, 2);
}

void TestApplication::exceptionFromActivationHandlerReachesErrorBox() {
    RecordingPrompts prompts;
    QWidget watched;
    QWidget other;
    onActivate(&watched, [] { throw PlatformError(QString::fromUtf8("Сбой")); });
    showAndWait(&watched);
    showAndWait(&other);
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    prompts.clear();

    watched.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&watched));

    QCOMPARE(prompts.messages.size(), 1);
    QCOMPARE(prompts.messages.first().text, QString::fromUtf8("Сбой."));
    QCOMPARE(prompts.messages.first().icon, Icon::Error);
}

int main(int argc, char** argv) {
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
