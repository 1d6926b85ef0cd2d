// The session code dialog: when Accept is possible, the full field refusing
// keys with a beep, Enter released accepting, and the hand-over to the main
// window.

#include "forms_fixture.h"

#include "forms/Code.h"
#include "forms/Code1.h"
#include "platform/ui/application.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolBar>
#include <memory>

using orvelin::testing::FormsFixture;
using orvelin::testing::FormsTestCase;

class SessionDialogTest : public FormsTestCase {
    Q_OBJECT

private slots:
    void acceptFollowsCodeLength_data();
    void acceptFollowsCodeLength();
    void enterReleasedAcceptsWhateverModifiers_data();
    void enterReleasedAcceptsWhateverModifiers();
    void fullFieldRefusesKeyWithBeep_data();
    void fullFieldRefusesKeyWithBeep();
    void fullFieldStillEdits_data();
    void fullFieldStillEdits();
    void pasteIsCutToTenCharacters();
    void acceptHandsOverToMainWindow();
    void sessionCodeIsWindows1251();

private:
    void fillField() { forms_->typeCode(QStringLiteral("abcdefghij")); }
};

void SessionDialogTest::acceptFollowsCodeLength_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("backspaces");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("nothing") << QString() << 0 << false;
    QTest::newRow("5 characters") << QStringLiteral("abcde") << 0 << false;
    QTest::newRow("6 characters") << QStringLiteral("abcdef") << 0 << true;
    QTest::newRow("10 characters") << QStringLiteral("abcdefghij") << 0 << true;
    QTest::newRow("6 then back to 5") << QStringLiteral("abcdef") << 1 << false;
    QTest::newRow("10 then back to 6") << QStringLiteral("abcdefghij") << 4 << true;
}

// Releasing Enter accepts exactly when the button is enabled.
void SessionDialogTest::acceptFollowsCodeLength() {
    QFETCH(QString, typed);
    QFETCH(int, backspaces);
    QFETCH(bool, acceptable);
    forms_->typeCode(typed);
    for (int i = 0; i < backspaces; ++i) QTest::keyClick(Trivor->MaskEdit1, Qt::Key_Backspace);
    QCOMPARE(Trivor->Button1->isEnabled(), acceptable);

    QTest::keyClick(Trivor->MaskEdit1, Qt::Key_Return);
    QCOMPARE(Trivor->isVisible(), !acceptable);
    QCOMPARE(Uwens->SMT->isEnabled(), acceptable);
}

void SessionDialogTest::enterReleasedAcceptsWhateverModifiers_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
    QTest::newRow("Ctrl+Alt+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier | Qt::AltModifier);
}

void SessionDialogTest::enterReleasedAcceptsWhateverModifiers() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    forms_->typeCode(QStringLiteral("secret7"));
    QTest::keyPress(Trivor->MaskEdit1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY2(Trivor->isVisible(), "pressing alone must not accept");
    QTest::keyRelease(Trivor->MaskEdit1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(!Trivor->isVisible());
}

void SessionDialogTest::fullFieldRefusesKeyWithBeep_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("selectAll");
    QTest::newRow("letter") << int(Qt::Key_X) << int(Qt::NoModifier) << false;
    QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier) << false;
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << false;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << false;
    QTest::newRow("letter over a selection") << int(Qt::Key_X) << int(Qt::NoModifier) << true;
    QTest::newRow("Ctrl+V over a selection") << int(Qt::Key_V) << int(Qt::ControlModifier) << true;
}

void SessionDialogTest::fullFieldRefusesKeyWithBeep() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, selectAll);
    QGuiApplication::clipboard()->setText(QStringLiteral("zz"));
    fillField();
    if (selectAll) Trivor->MaskEdit1->selectAll();
    forms_->prompts.beeps = 0;

    QTest::keyPress(Trivor->MaskEdit1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Trivor->MaskEdit1->text(), QStringLiteral("abcdefghij"));
    QCOMPARE(forms_->prompts.beeps, 1);
    QVERIFY(Trivor->isVisible());
}

void SessionDialogTest::fullFieldStillEdits_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("caretAtStart");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << false << QStringLiteral("abcdefghi") << 9;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << true << QStringLiteral("bcdefghij") << 0;
    QTest::newRow("Left") << int(Qt::Key_Left) << false << QStringLiteral("abcdefghij") << 9;
    QTest::newRow("Home") << int(Qt::Key_Home) << false << QStringLiteral("abcdefghij") << 0;
}

void SessionDialogTest::fullFieldStillEdits() {
    QFETCH(int, key);
    QFETCH(bool, caretAtStart);
    QFETCH(QString, text);
    QFETCH(int, caret);
    fillField();
    if (caretAtStart) Trivor->MaskEdit1->setCursorPosition(0);
    forms_->prompts.beeps = 0;

    QTest::keyClick(Trivor->MaskEdit1, Qt::Key(key));
    QCOMPARE(Trivor->MaskEdit1->text(), text);
    QCOMPARE(Trivor->MaskEdit1->cursorPosition(), caret);
    QCOMPARE(forms_->prompts.beeps, 0);
}

void SessionDialogTest::pasteIsCutToTenCharacters() {
    QGuiApplication::clipboard()->setText(QStringLiteral("0123456789abc"));
    QTest::keyClick(Trivor->MaskEdit1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Trivor->MaskEdit1->text(), QStringLiteral("0123456789"));
    QVERIFY(Trivor->Button1->isEnabled());
    QCOMPARE(forms_->prompts.beeps, 0);
}

void SessionDialogTest::acceptHandsOverToMainWindow() {
    const QString countBefore = forms_->statusText();
    forms_->acceptCode(QStringLiteral("secret7"));

    QVERIFY(!Trivor->isVisible());
    QVERIFY(!Trivor->isEnabled());
    QVERIFY(!Trivor->MaskEdit1->isEnabled());
    QVERIFY(!Trivor->Button1->isEnabled());
    QVERIFY(Uwens->isVisible());
    QVERIFY(Uwens->ToolBar1->isEnabled());
    QVERIFY(Uwens->SMT->isEnabled());
    QCOMPARE(Uwens->SMT->length8(), std::size_t(0));
    // The notice is gone for good: nothing to undo back to.
    QVERIFY(!Uwens->SMT->document()->isUndoAvailable());
    QCOMPARE(forms_->statusText(), countBefore);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Uwens));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Uwens->SMT));
    // The code stays in the hidden dialog for the coding commands.
    QCOMPARE(Trivor->SessionCode(), std::string("secret7"));
}

void SessionDialogTest::sessionCodeIsWindows1251() {
    forms_->typeCode(QStringLiteral("пароль12"));
    QCOMPARE(Trivor->SessionCode(), std::string("\xEF\xE0\xF0\xEE\xEB\xFC" "12"));
}

ORVELIN_FORMS_TEST_MAIN(SessionDialogTest)
#include "test_session_dialog.moc"
