// The real message box, run headless: a timer inspects the box while it is up
// and presses one of its buttons, so no one has to.
#include "platform/ui/desktop_prompts.h"

#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace orvelin::platform;

namespace {

struct SeenBox {
    bool found = false;
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat format = Qt::AutoText;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* parent = nullptr;
};

QMessageBox* visibleMessageBox() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) return box;
    return nullptr;
}

// Looks at the box once it is up, then presses `press`.
void inspectThenPress(SeenBox& seen, QMessageBox::StandardButton press, int triesLeft = 100) {
    QTimer::singleShot(10, qApp, [&seen, press, triesLeft] {
        QMessageBox* box = visibleMessageBox();
        if (!box) {
            if (triesLeft > 0) inspectThenPress(seen, press, triesLeft - 1);
            return;
        }
        seen.found = true;
        seen.text = box->text();
        seen.caption = box->windowTitle();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.format = box->textFormat();
        seen.modality = box->windowModality();
        seen.parent = box->parentWidget();
        box->button(press)->click();
    });
}

}  // namespace

class TestDesktopPrompts : public QObject {
    Q_OBJECT
private slots:
    void boxShowsRequestAndReturnsAnswer_data();
    void boxShowsRequestAndReturnsAnswer();
    void boxModalityFollowsOwner_data();
    void boxModalityFollowsOwner();
};

void TestDesktopPrompts::boxShowsRequestAndReturnsAnswer_data() {
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<QMessageBox::StandardButton>("press");
    QTest::addColumn<QMessageBox::Icon>("qtIcon");
    QTest::addColumn<QMessageBox::StandardButton>("defaultButton");
    QTest::addColumn<Answer>("answer");
    QTest::newRow("error, OK") << Icon::Error << Buttons::Ok << QMessageBox::Ok << QMessageBox::Critical
                               << QMessageBox::Ok << Answer::Ok;
    QTest::newRow("warning, OK") << Icon::Warning << Buttons::Ok << QMessageBox::Ok << QMessageBox::Warning
                                 << QMessageBox::Ok << Answer::Ok;
    QTest::newRow("information, OK") << Icon::Information << Buttons::Ok << QMessageBox::Ok
                                     << QMessageBox::Information << QMessageBox::Ok << Answer::Ok;
    QTest::newRow("question, Yes") << Icon::Question << Buttons::YesNo << QMessageBox::Yes
                                   << QMessageBox::Question << QMessageBox::No << Answer::Yes;
    QTest::newRow("question, No") << Icon::Question << Buttons::YesNo << QMessageBox::No
                                  << QMessageBox::Question << QMessageBox::No << Answer::No;
}

void TestDesktopPrompts::boxShowsRequestAndReturnsAnswer() {
    QFETCH(Icon, icon);
    QFETCH(Buttons, buttons);
    QFETCH(QMessageBox::StandardButton, press);
    QFETCH(QMessageBox::Icon, qtIcon);
    QFETCH(QMessageBox::StandardButton, defaultButton);
    QFETCH(Answer, answer);
    MessageBoxRequest request;
    // Markup in a message (a path, say) must show as typed.
    request.text = QString::fromUtf8("Файл: \"<b>/tmp/a&b</b>\" не существует.");
    request.caption = QString::fromUtf8("Ошибка");
    request.icon = icon;
    request.buttons = buttons;
    SeenBox seen;
    inspectThenPress(seen, press);

    const Answer given = DesktopPrompts().messageBox(request);

    QVERIFY(seen.found);
    QCOMPARE(given, answer);
    QCOMPARE(seen.text, request.text);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.caption, request.caption);
    QCOMPARE(seen.icon, qtIcon);
    QCOMPARE(seen.buttons, buttons == Buttons::Ok ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                                  : QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.defaultButton, defaultButton);
}

void TestDesktopPrompts::boxModalityFollowsOwner_data() {
    QTest::addColumn<bool>("owned");
    QTest::addColumn<bool>("blocksNoWindow");
    QTest::addColumn<Qt::WindowModality>("modality");
    QTest::newRow("owned: modal to its window") << true << false << Qt::WindowModal;
    QTest::newRow("no owner: modal to every window") << false << false << Qt::ApplicationModal;
    QTest::newRow("no owner, blocking nothing") << false << true << Qt::WindowModal;
}

void TestDesktopPrompts::boxModalityFollowsOwner() {
    QFETCH(bool, owned);
    QFETCH(bool, blocksNoWindow);
    QFETCH(Qt::WindowModality, modality);
    QWidget owner;
    QWidget control(&owner);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    MessageBoxRequest request;
    request.owner = owned ? &control : nullptr;  // a control stands for its window
    request.blocksNoWindow = blocksNoWindow;
    SeenBox seen;
    inspectThenPress(seen, QMessageBox::Ok);

    DesktopPrompts().messageBox(request);

    QVERIFY(seen.found);
    QCOMPARE(seen.modality, modality);
    QCOMPARE(seen.parent, owned ? &owner : nullptr);
}

QTEST_MAIN(TestDesktopPrompts)
#include "tst_desktop_prompts.moc"
