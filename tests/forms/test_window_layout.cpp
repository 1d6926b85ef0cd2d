// The windows' layout as designed: the dialog's fixed client area with every
// control inside it, the main window's bars and editor, the editor taking the
// space when maximised. Saves a picture of each window for a reviewer.

#include "forms_fixture.h"

#include "forms/Code.h"
#include "forms/Code1.h"
#include "platform/ui/application.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

using orvelin::testing::FormsFixture;
using orvelin::testing::FormsTestCase;

namespace {

void savePicture(QWidget* window, const QString& name) {
    const QDir dir(QStringLiteral(ORVELIN_SCREENSHOT_DIR));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
    QVERIFY(window->grab().save(dir.filePath(name + QStringLiteral(".png"))));
}

}  // namespace

class WindowLayoutTest : public FormsTestCase {
    Q_OBJECT

private slots:
    void dialogHoldsItsControlsInFixedClientArea();
    void mainWindowClientAreaHoldsBarsAndEditor();
    void toolBarButtonsInOrderWithoutFocus();
    void maximisedEditorFillsTheSpace();
    void savesPicturesOfTheWorkingMainWindow();
};

void WindowLayoutTest::dialogHoldsItsControlsInFixedClientArea() {
    savePicture(Trivor, QStringLiteral("session-code-dialog"));
    QCOMPARE(Trivor->size(), QSize(322, 116));
    QCOMPARE(Trivor->minimumSize(), Trivor->maximumSize());
    QVERIFY(Trivor->windowTitle().isEmpty());
    const Qt::WindowFlags flags = Trivor->windowFlags();
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    const QRect client = Trivor->rect();
    for (QWidget* control : {static_cast<QWidget*>(Trivor->Label1), static_cast<QWidget*>(Trivor->Label2),
                             static_cast<QWidget*>(Trivor->MaskEdit1), static_cast<QWidget*>(Trivor->Button1)}) {
        QVERIFY2(client.contains(control->geometry()), qPrintable(control->metaObject()->className()));
        QCOMPARE(control->toolTip(), QStringLiteral("Не менее 6 и не более 10 символов"));
    }
    QVERIFY(!Trivor->Label1->geometry().intersects(Trivor->Label2->geometry()));
    QCOMPARE(Trivor->MaskEdit1->echoMode(), QLineEdit::Password);
    forms_->typeCode(QStringLiteral("secret7"));
    savePicture(Trivor, QStringLiteral("session-code-dialog-typed"));
}

// The menu bar sits above the designed client area of 770 x 524.
void WindowLayoutTest::mainWindowClientAreaHoldsBarsAndEditor() {
    const int menuHeight = Uwens->aiu1->height();
    QCOMPARE(Uwens->size(), QSize(770, 524 + menuHeight));
    QCOMPARE(Uwens->minimumSize(), Uwens->maximumSize());
    QVERIFY(Uwens->windowFlags() & Qt::WindowMaximizeButtonHint);
    QCOMPARE(Uwens->ToolBar1->geometry(), QRect(0, menuHeight, 770, 27));
    QCOMPARE(Uwens->StatusBar1->geometry(), QRect(0, Uwens->height() - 19, 770, 19));
    QCOMPARE(Uwens->SMT->geometry(), QRect(0, menuHeight + 27, 770, 524 - 27 - 19));
    QCOMPARE(Uwens->StatusPanel0->width(), 300);
    QCOMPARE(Uwens->windowTitle(), QStringLiteral("Orvelin 2.1"));
    QStringList menus;
    for (QAction* action : Uwens->aiu1->actions()) menus << action->text();
    QCOMPARE(menus, (QStringList{QStringLiteral("Файл"), QStringLiteral("Правка"), QStringLiteral("Language"),
                                 QStringLiteral("О программе")}));
    savePicture(Uwens, QStringLiteral("main-window-waiting"));
}

void WindowLayoutTest::toolBarButtonsInOrderWithoutFocus() {
    QStringList hints;
    int lastRight = -1;
    for (QToolButton* button : {Uwens->ToolButton1, Uwens->ToolButton2, Uwens->ToolButton4, Uwens->ToolButton5,
                                Uwens->ToolButton7, Uwens->ToolButton8}) {
        hints << button->toolTip();
        QVERIFY(button->geometry().left() > lastRight);
        lastRight = button->geometry().right();
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->icon().isNull());
    }
    QCOMPARE(hints, (QStringList{QStringLiteral("Открыть"), QStringLiteral("Сохранить"), QStringLiteral("Копировать"),
                                 QStringLiteral("Вставить"), QStringLiteral("Кодировать"),
                                 QStringLiteral("Декодировать")}));
}

void WindowLayoutTest::maximisedEditorFillsTheSpace() {
    const QSize designed = Uwens->size();
    Uwens->showMaximized();
    const QSize available = QGuiApplication::primaryScreen()->availableGeometry().size();
    QTRY_COMPARE(Uwens->frameGeometry().size(), available);
    const int menuHeight = Uwens->aiu1->height();
    QCOMPARE(Uwens->SMT->geometry(), QRect(0, menuHeight + 27, Uwens->width(), Uwens->height() - menuHeight - 27 - 19));

    Uwens->showNormal();
    QTRY_COMPARE(Uwens->size(), designed);
    QCOMPARE(Uwens->minimumSize(), Uwens->maximumSize());
}

void WindowLayoutTest::savesPicturesOfTheWorkingMainWindow() {
    forms_->acceptCode();
    forms_->putText("The quick brown fox jumps over the lazy dog.\r\n"
                    "\xD1\xfa\xe5\xf8\xfc \xe6\xe5 \xe5\xf9\xb8 \xfd\xf2\xe8\xf5 \xec\xff\xe3\xea\xe8\xf5 "
                    "\xf4\xf0\xe0\xed\xf6\xf3\xe7\xf1\xea\xe8\xf5 \xe1\xf3\xeb\xee\xea.");
    savePicture(Uwens, QStringLiteral("main-window-working"));
    Uwens->N9->trigger();
    savePicture(Uwens, QStringLiteral("main-window-encoded"));
    Uwens->N1->popup(Uwens->mapToGlobal(QPoint(0, Uwens->aiu1->height())));
    QVERIFY(QTest::qWaitForWindowExposed(Uwens->N1));
    savePicture(Uwens->N1, QStringLiteral("menu-file"));
    Uwens->N1->hide();
    Uwens->Edit->popup(Uwens->mapToGlobal(QPoint(40, Uwens->aiu1->height())));
    QVERIFY(QTest::qWaitForWindowExposed(Uwens->Edit));
    savePicture(Uwens->Edit, QStringLiteral("menu-edit"));
    Uwens->Edit->hide();
}

ORVELIN_FORMS_TEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
