#include "platform/ui/placement.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace orvelin::platform;

namespace {

// Two monitors side by side, the primary on the left, with window frames.
const QRect kLeftMonitor(0, 0, 800, 600);
const QRect kRightMonitor(800, 0, 1024, 768);

const char kScreens[] = R"({
  "windowFrameMargins": true,
  "screens": [
    { "name": "left", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96 },
    { "name": "right", "x": 800, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96 }
  ]
})";

QWidget* shownAt(QWidget* window, const QRect& geometry) {
    window->setGeometry(geometry);
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) return nullptr;
    return window;
}

}  // namespace

class TestPlacement : public QObject {
    Q_OBJECT
private slots:
    void centringRules_data();
    void centringRules();
    void nearestMonitorPrefersOverlapThenDistance_data();
    void nearestMonitorPrefersOverlapThenDistance();
    void centredOverFollowsActiveFormsMonitor_data();
    void centredOverFollowsActiveFormsMonitor();
    void desktopCentringHappensAtFirstShowOnly();
    void windowCentredOverOwnerMovesToActiveFormsMonitor_data();
    void windowCentredOverOwnerMovesToActiveFormsMonitor();
};

void TestPlacement::centringRules_data() {
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("desktop, even") << "desktop" << QRect(0, 0, 1920, 1080) << QSize(800, 600) << QPoint(560, 240);
    QTest::newRow("desktop, odd spare truncated") << "desktop" << QRect(0, 0, 1921, 1081) << QSize(800, 600)
                                                  << QPoint(560, 240);
    QTest::newRow("desktop, larger window raised to 0") << "desktop" << QRect(0, 0, 800, 600) << QSize(803, 640)
                                                        << QPoint(0, 0);
    QTest::newRow("desktop origin does not count") << "desktop" << QRect(-1280, 0, 3200, 1080)
                                                   << QSize(800, 600) << QPoint(1200, 240);
    QTest::newRow("over owner") << "over" << QRect(10, 20, 101, 51) << QSize(50, 30) << QPoint(35, 30);
    QTest::newRow("over owner, window wider: -3 div 2 = -1") << "over" << QRect(10, 20, 100, 100)
                                                             << QSize(103, 100) << QPoint(9, 20);
    QTest::newRow("over owner at the edge, raised to 0") << "over" << QRect(0, 0, 100, 100) << QSize(103, 105)
                                                         << QPoint(0, 0);
    QTest::newRow("over owner off the left, raised to 0") << "over" << QRect(-500, -20, 300, 200)
                                                          << QSize(100, 100) << QPoint(0, 30);
    QTest::newRow("primary") << "primary" << QRect(0, 0, 1366, 768) << QSize(329, 145) << QPoint(518, 311);
    QTest::newRow("primary keeps -3 div 2 = -1") << "primary" << QRect(0, 0, 800, 600) << QSize(803, 601)
                                                 << QPoint(-1, 0);
    QTest::newRow("primary keeps larger negatives") << "primary" << QRect(0, 0, 800, 600) << QSize(805, 610)
                                                    << QPoint(-2, -5);
}

void TestPlacement::centringRules() {
    QFETCH(QString, rule);
    QFETCH(QRect, area);
    QFETCH(QSize, outer);
    QFETCH(QPoint, expected);
    if (rule == "desktop") QCOMPARE(centredOnDesktop(area, outer), expected);
    if (rule == "over") QCOMPARE(centredOver(area, outer), expected);
    if (rule == "primary") QCOMPARE(centredOnPrimary(area.size(), outer), expected);
}

void TestPlacement::nearestMonitorPrefersOverlapThenDistance_data() {
    QTest::addColumn<QList<QRect>>("monitors");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<int>("nearest");
    const QList<QRect> pair{kLeftMonitor, kRightMonitor};
    QTest::newRow("no monitors") << QList<QRect>() << QRect(0, 0, 10, 10) << -1;
    QTest::newRow("inside the second") << pair << QRect(900, 100, 100, 100) << 1;
    QTest::newRow("straddling, mostly left") << pair << QRect(600, 0, 300, 100) << 0;
    QTest::newRow("straddling, mostly right") << pair << QRect(700, 0, 300, 100) << 1;
    QTest::newRow("off screen, closest to the right") << pair << QRect(2000, 100, 50, 50) << 1;
    QTest::newRow("below the left one, touching none") << pair << QRect(100, 700, 50, 50) << 0;
}

void TestPlacement::nearestMonitorPrefersOverlapThenDistance() {
    QFETCH(QList<QRect>, monitors);
    QFETCH(QRect, window);
    QFETCH(int, nearest);
    QCOMPARE(nearestMonitor(monitors, window), nearest);
}

void TestPlacement::centredOverFollowsActiveFormsMonitor_data() {
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QRect>("activeForm");
    QTest::addColumn<QPoint>("expected");
    const QSize about(407, 347);
    QTest::newRow("same monitor: stays over the owner")
        << QRect(100, 100, 328, 142) << about << QRect(0, 0, 776, 580) << QPoint(61, 0);
    QTest::newRow("owner on the other monitor: centred on the active form's")
        << QRect(1000, 100, 328, 142) << about << QRect(0, 0, 776, 580) << QPoint(196, 126);
    QTest::newRow("both on the right monitor: stays over the owner")
        << QRect(1000, 100, 328, 142) << about << QRect(900, 50, 776, 580) << QPoint(961, 0);
    QTest::newRow("no active form: stays over the owner")
        << QRect(1000, 100, 328, 142) << about << QRect() << QPoint(961, 0);
    QTest::newRow("window wider than the monitor: no raising")
        << QRect(1000, 100, 328, 142) << QSize(805, 603) << QRect(0, 0, 400, 300) << QPoint(-2, -1);
}

void TestPlacement::centredOverFollowsActiveFormsMonitor() {
    QFETCH(QRect, owner);
    QFETCH(QSize, outer);
    QFETCH(QRect, activeForm);
    QFETCH(QPoint, expected);
    QCOMPARE(centredOverOnActiveMonitor(owner, outer, {kLeftMonitor, kRightMonitor}, activeForm), expected);
}

void TestPlacement::desktopCentringHappensAtFirstShowOnly() {
    QWidget window;
    window.resize(301, 201);
    centreOnDesktopAtFirstShow(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Both monitors together make a 1824 x 768 desktop; sizes are outer ones.
    const QSize outer = window.frameGeometry().size();
    QVERIFY2(outer != window.size(), "the set-up should give windows a frame");
    QCOMPARE(window.frameGeometry().topLeft(), QPoint((1824 - outer.width()) / 2, (768 - outer.height()) / 2));

    moveOuterTo(&window, QPoint(10, 20));
    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.frameGeometry().topLeft(), QPoint(10, 20));
}

void TestPlacement::windowCentredOverOwnerMovesToActiveFormsMonitor_data() {
    QTest::addColumn<QRect>("ownerGeometry");
    QTest::addColumn<QRect>("activeGeometry");
    QTest::addColumn<bool>("movesToActiveMonitor");
    QTest::newRow("owner on the left with the active form") << QRect(200, 150, 322, 116)
                                                            << QRect(20, 40, 500, 400) << false;
    QTest::newRow("owner on the right, active form on the left") << QRect(1200, 300, 322, 116)
                                                                 << QRect(20, 40, 500, 400) << true;
}

void TestPlacement::windowCentredOverOwnerMovesToActiveFormsMonitor() {
    QFETCH(QRect, ownerGeometry);
    QFETCH(QRect, activeGeometry);
    QFETCH(bool, movesToActiveMonitor);
    QWidget owner;
    QWidget activeForm;
    QVERIFY(shownAt(&owner, ownerGeometry));
    QVERIFY(shownAt(&activeForm, activeGeometry));
    QWidget window;
    window.resize(401, 321);

    centreOverFormAtFirstShow(&window, &owner, &activeForm);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QSize outer = window.frameGeometry().size();
    const QRect ownerFrame = owner.frameGeometry();
    const QPoint expected = movesToActiveMonitor
        ? QPoint((800 - outer.width()) / 2, (600 - outer.height()) / 2)
        : QPoint(ownerFrame.left() + (ownerFrame.width() - outer.width()) / 2,
                 ownerFrame.top() + (ownerFrame.height() - outer.height()) / 2);
    QCOMPARE(window.frameGeometry().topLeft(), expected);
}

int main(int argc, char** argv) {
    QTemporaryDir folder;
    const QString config = folder.filePath("screens.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(kScreens) < 0) return 1;
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication app(argc, argv);
    if (QGuiApplication::screens().size() != 2) {
        qCritical("the two-monitor offscreen set-up did not take");
        return 1;
    }
    TestPlacement test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_placement.moc"
