// The main window's commands as the user reaches them: Encode and Decode with
// their long-text notices, the codec's refusals, the character count, undo,
// the clipboard, a failure escaping a command, and keeping the session code
// dialog in front until a code is accepted.

#include "forms_fixture.h"

#include "forms/Code.h"
#include "forms/Code1.h"
#include "platform/ui/application.h"
#include "platform/ui/error_box.h"
#include "platform/ui/placement.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <memory>

using orvelin::platform::Icon;
using orvelin::platform::MessageBoxRequest;
using orvelin::testing::bytes1251;
using orvelin::testing::charCountText;
using orvelin::testing::FormsFixture;
using orvelin::testing::FormsTestCase;

namespace {

const QString kEncodeWarning =
    QStringLiteral("Кодирование текста длиной более 50 тысяч символов может занять некоторое время!");
const QString kDecodeWarning =
    QStringLiteral("Декодирование текста длиной более 100 тысяч символов может занять некоторое время!");
const QString kNotEncoded =
    QStringLiteral("Текст не является закодированным либо код испорчен.\nДекодирование не возможно!");

enum class Route { MenuItem, ToolButton };

void encode(Route route) {
    if (route == Route::MenuItem)
        Uwens->N9->trigger();
    else
        QTest::mouseClick(Uwens->ToolButton7, Qt::LeftButton);
}

void decode(Route route) {
    if (route == Route::MenuItem)
        Uwens->N10->trigger();
    else
        QTest::mouseClick(Uwens->ToolButton8, Qt::LeftButton);
}

void runCommand(const QString& command, Route route) {
    if (command == QLatin1String("encode"))
        encode(route);
    else
        decode(route);
}

// A text the decoder takes without complaint: its check character matches
// the first body character squared, 65 * 65 mod 255 = 145.
std::string decodableText(std::size_t length) { return std::string(length - 1, 'A') + '\x91'; }

void expectBox(const MessageBoxRequest& box, const QString& text, const QString& caption, Icon icon,
               QWidget* owner) {
    QCOMPARE(box.text, text);
    QCOMPARE(box.caption, caption);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.owner, owner);
}

}  // namespace

Q_DECLARE_METATYPE(Route)

class MainWindowTest : public FormsTestCase {
    Q_OBJECT

private slots:
    void waitsForCodeWithNoticeAndZeroCount();
    void commandsBeforeAcceptPassTheFieldAsItIs();
    void encodeThenDecodeGivesTextBack_data();
    void encodeThenDecodeGivesTextBack();
    void emptyEditorCodesNothing();
    void longTextGetsOneWarningAndOneDone_data();
    void longTextGetsOneWarningAndOneDone();
    void windowTakesNoInputOnlyWhileCoding();
    void refusedDecodeKeepsTextCaretAndScroll();
    void countFollowsTypingPastingCodingAndUndo();
    void undoRestoresTextBeforeCoding_data();
    void undoRestoresTextBeforeCoding();
    void copyWithoutSelectionKeepsClipboard_data();
    void copyWithoutSelectionKeepsClipboard();
    void failureInCommandShowsStandardErrorBox_data();
    void failureInCommandShowsStandardErrorBox();
    void activatingMainWindowBringsDialogBack();
    void afterAcceptActivationLeavesDialogHidden();
};

void MainWindowTest::waitsForCodeWithNoticeAndZeroCount() {
    QVERIFY(Uwens->isVisible());
    QVERIFY(!Uwens->ToolBar1->isEnabled());
    QVERIFY(!Uwens->SMT->isEnabled());
    QVERIFY(Uwens->aiu1->isEnabled());
    const std::string notice = Uwens->SMT->text8();
    QVERIFY(notice.rfind(bytes1251(QStringLiteral("     ВАЖНО! ")), 0) == 0);
    QVERIFY(notice.find(bytes1251(QStringLiteral("не копируйте с \r\nтекстового файла"))) != std::string::npos);
    QVERIFY(notice.find(bytes1251(QStringLiteral("меняется \r\nкодировка)"))) != std::string::npos);
    QCOMPARE(Uwens->SMT->document()->blockCount(), 3);
    QCOMPARE(forms_->statusText(), charCountText(0));
}

// No command checks for an accepted code: the codec judges whatever the field
// holds, and refuses a short code with its own box.
void MainWindowTest::commandsBeforeAcceptPassTheFieldAsItIs() {
    const std::string notice = Uwens->SMT->text8();
    forms_->typeCode(QStringLiteral("abc"));
    Uwens->N9->trigger();
    QCOMPARE(forms_->prompts.messages.size(), 1);
    expectBox(forms_->prompts.messages.at(0),
              QStringLiteral("Пароль должен быть по длине не меньше 6 и не больше 10"), QStringLiteral("Ошибка"),
              Icon::Error, Uwens);
    QCOMPARE(Uwens->SMT->text8(), notice);

    forms_->typeCode(QStringLiteral("defg"));
    Uwens->N9->trigger();
    QCOMPARE(forms_->prompts.messages.size(), 1);
    QVERIFY(Uwens->SMT->text8() != notice);
}

void MainWindowTest::encodeThenDecodeGivesTextBack_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Route>("encodeRoute");
    QTest::addColumn<Route>("decodeRoute");
    QByteArray everyByte;
    for (int byte = 1; byte < 256; ++byte) everyByte.append(char(byte));
    QTest::newRow("plain, by buttons") << QByteArray("Hello, world") << Route::ToolButton << Route::ToolButton;
    QTest::newRow("CR LF lines, by menu") << QByteArray("one\r\ntwo\r\n\r\nthree") << Route::MenuItem
                                          << Route::MenuItem;
    QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc\n\rd\r") << Route::MenuItem << Route::ToolButton;
    QTest::newRow("only a line break") << QByteArray("\r\n") << Route::ToolButton << Route::MenuItem;
    QTest::newRow("Cyrillic") << QByteArray::fromStdString(bytes1251(QStringLiteral("Съешь же ещё этих булок")))
                              << Route::ToolButton << Route::ToolButton;
    QTest::newRow("every byte 1..255") << everyByte << Route::ToolButton << Route::ToolButton;
}

void MainWindowTest::encodeThenDecodeGivesTextBack() {
    QFETCH(QByteArray, text);
    QFETCH(Route, encodeRoute);
    QFETCH(Route, decodeRoute);
    forms_->acceptCode(QStringLiteral("Ключ-42"));
    forms_->putText(text.toStdString());

    encode(encodeRoute);
    const std::string encoded = Uwens->SMT->text8();
    QVERIFY(encoded != text.toStdString());
    QCOMPARE(forms_->statusText(), charCountText(encoded.size()));

    decode(decodeRoute);
    QCOMPARE(QByteArray::fromStdString(Uwens->SMT->text8()), text);
    QCOMPARE(forms_->statusText(), charCountText(std::size_t(text.size())));
    QVERIFY(forms_->prompts.messages.isEmpty());
}

void MainWindowTest::emptyEditorCodesNothing() {
    forms_->acceptCode();
    encode(Route::ToolButton);
    decode(Route::MenuItem);
    QVERIFY(forms_->prompts.messages.isEmpty());
    QCOMPARE(Uwens->SMT->length8(), std::size_t(0));
    QVERIFY(!Uwens->SMT->document()->isUndoAvailable());
}

void MainWindowTest::longTextGetsOneWarningAndOneDone_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<Route>("route");
    QTest::newRow("encode 50000") << QStringLiteral("encode") << 50000 << QString() << Route::ToolButton;
    QTest::newRow("encode 50001") << QStringLiteral("encode") << 50001 << kEncodeWarning << Route::ToolButton;
    QTest::newRow("encode 50001 by menu") << QStringLiteral("encode") << 50001 << kEncodeWarning << Route::MenuItem;
    QTest::newRow("decode 100000") << QStringLiteral("decode") << 100000 << QString() << Route::MenuItem;
    QTest::newRow("decode 100001") << QStringLiteral("decode") << 100001 << kDecodeWarning << Route::MenuItem;
    QTest::newRow("decode 100001 by button") << QStringLiteral("decode") << 100001 << kDecodeWarning
                                             << Route::ToolButton;
}

void MainWindowTest::longTextGetsOneWarningAndOneDone() {
    QFETCH(QString, command);
    QFETCH(int, length);
    QFETCH(QString, warning);
    QFETCH(Route, route);
    forms_->acceptCode();
    const std::string text =
        command == QLatin1String("encode") ? std::string(std::size_t(length), 'a') : decodableText(std::size_t(length));
    forms_->putText(text);
    QList<bool> windowEnabledAtBox;
    forms_->prompts.onMessage = [&](const MessageBoxRequest&) { windowEnabledAtBox.append(Uwens->isEnabled()); };

    runCommand(command, route);
    QVERIFY(Uwens->SMT->text8() != text);
    if (warning.isEmpty()) {
        QVERIFY(forms_->prompts.messages.isEmpty());
        return;
    }
    QCOMPARE(forms_->prompts.messages.size(), 2);
    expectBox(forms_->prompts.messages.at(0), warning, QStringLiteral("Предупреждение"), Icon::Information, Uwens);
    expectBox(forms_->prompts.messages.at(1), QStringLiteral("Готово"), QStringLiteral("Information"),
              Icon::Information, Uwens);
    QCOMPARE(windowEnabledAtBox, (QList<bool>{true, true}));
    QVERIFY(!Uwens->LongTextRun);

    // The flag is clear again: the next command runs, by either route.
    const std::string afterFirst = Uwens->SMT->text8();
    forms_->prompts.clear();
    runCommand(QStringLiteral("encode"), route == Route::MenuItem ? Route::ToolButton : Route::MenuItem);
    QVERIFY(Uwens->SMT->text8() != afterFirst);
    QVERIFY(!Uwens->LongTextRun);
}

// The window as a whole stops taking input while the codec runs, its own
// controls keep their states, and the editor gets the focus back.
void MainWindowTest::windowTakesNoInputOnlyWhileCoding() {
    forms_->acceptCode();
    forms_->putText("Hello");
    bool windowEnabledAtBox = true;
    forms_->prompts.onMessage = [&](const MessageBoxRequest&) { windowEnabledAtBox = Uwens->isEnabled(); };

    decode(Route::ToolButton);
    QCOMPARE(forms_->prompts.messages.size(), 1);
    QVERIFY(!windowEnabledAtBox);
    QVERIFY(Uwens->isEnabled());
    QVERIFY(Uwens->ToolBar1->isEnabled());
    QVERIFY(Uwens->SMT->isEnabled());
    QCOMPARE(Uwens->focusWidget(), static_cast<QWidget*>(Uwens->SMT));
}

void MainWindowTest::refusedDecodeKeepsTextCaretAndScroll() {
    forms_->acceptCode();
    std::string text;
    for (int line = 0; line < 300; ++line) text += "line " + std::to_string(line) + "\r\n";
    forms_->putText(text);
    QTextCursor caret = Uwens->SMT->textCursor();
    caret.setPosition(Uwens->SMT->document()->findBlockByNumber(150).position() + 2);
    Uwens->SMT->setTextCursor(caret);
    Uwens->SMT->verticalScrollBar()->setValue(120);
    const int undoSteps = Uwens->SMT->document()->availableUndoSteps();

    decode(Route::MenuItem);
    QCOMPARE(forms_->prompts.messages.size(), 1);
    expectBox(forms_->prompts.messages.at(0), kNotEncoded, QStringLiteral("Ошибка"), Icon::Warning, Uwens);
    QCOMPARE(Uwens->SMT->text8(), text);
    QCOMPARE(Uwens->SMT->textCursor().position(), caret.position());
    QCOMPARE(Uwens->SMT->verticalScrollBar()->value(), 120);
    QCOMPARE(Uwens->SMT->document()->availableUndoSteps(), undoSteps);
}

void MainWindowTest::countFollowsTypingPastingCodingAndUndo() {
    forms_->acceptCode();
    QTest::keyClicks(Uwens->SMT, QStringLiteral("abc"));
    QCOMPARE(forms_->statusText(), charCountText(3));
    QTest::keyClick(Uwens->SMT, Qt::Key_Return);
    QCOMPARE(forms_->statusText(), charCountText(5));
    QGuiApplication::clipboard()->setText(QStringLiteral("xyz"));
    QTest::mouseClick(Uwens->ToolButton5, Qt::LeftButton);
    QCOMPARE(forms_->statusText(), charCountText(8));
    QCOMPARE(Uwens->SMT->text8(), std::string("abc\r\nxyz"));

    encode(Route::MenuItem);
    QCOMPARE(forms_->statusText(), charCountText(Uwens->SMT->length8()));
    QVERIFY(Uwens->SMT->length8() > 8);
    QTest::keyClick(Uwens->SMT, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(forms_->statusText(), charCountText(8));
}

void MainWindowTest::undoRestoresTextBeforeCoding_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("encode") << QStringLiteral("encode");
    QTest::newRow("decode") << QStringLiteral("decode");
}

// Each coding command is one step of the editor's undo history.
void MainWindowTest::undoRestoresTextBeforeCoding() {
    QFETCH(QString, command);
    forms_->acceptCode();
    forms_->putText("first line\r\nsecond line");
    encode(Route::ToolButton);
    if (command == QLatin1String("decode")) forms_->putText(Uwens->SMT->text8());
    const std::string before = Uwens->SMT->text8();

    runCommand(command, Route::ToolButton);
    QVERIFY(Uwens->SMT->text8() != before);
    QTest::keyClick(Uwens->SMT, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Uwens->SMT->text8(), before);
    QCOMPARE(forms_->statusText(), charCountText(before.size()));
}

void MainWindowTest::copyWithoutSelectionKeepsClipboard_data() {
    QTest::addColumn<Route>("route");
    QTest::newRow("menu item") << Route::MenuItem;
    QTest::newRow("tool button") << Route::ToolButton;
}

void MainWindowTest::copyWithoutSelectionKeepsClipboard() {
    QFETCH(Route, route);
    const auto copy = [route] {
        if (route == Route::MenuItem)
            Uwens->N3->trigger();
        else
            QTest::mouseClick(Uwens->ToolButton4, Qt::LeftButton);
    };
    forms_->acceptCode();
    forms_->putText("abc");
    QGuiApplication::clipboard()->setText(QStringLiteral("keep"));

    copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("keep"));
    Uwens->SMT->selectAll();
    copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
}

void MainWindowTest::failureInCommandShowsStandardErrorBox_data() {
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("length");
    // The encoded text is at least twice as long: too much for the editor,
    // which still has room for the start notice.
    QTest::newRow("short text") << 1000 << 600;
    QTest::newRow("long text") << 60000 << 50001;
}

// The editor refusing the result escapes the command; the standard error box
// reports it, and neither the disabled window nor the long-run flag is left
// behind to block every later command.
void MainWindowTest::failureInCommandShowsStandardErrorBox() {
    QFETCH(int, capacity);
    QFETCH(int, length);
    forms_.reset();
    forms_ = std::make_unique<FormsFixture>(std::size_t(capacity));
    forms_->acceptCode();
    const std::string text(std::size_t(length), 'a');
    forms_->putText(text);

    encode(Route::ToolButton);
    const QList<MessageBoxRequest>& boxes = forms_->prompts.messages;
    QVERIFY(!boxes.isEmpty());
    expectBox(boxes.last(), QStringLiteral("Text exceeds memo capacity."),
              orvelin::platform::applicationTitle(QCoreApplication::applicationFilePath()), Icon::Error, nullptr);
    QCOMPARE(boxes.size(), length > 50000 ? 2 : 1);
    QCOMPARE(Uwens->SMT->text8(), text);
    QVERIFY(Uwens->isEnabled());
    QVERIFY(!Uwens->LongTextRun);

    forms_->putText("short");
    forms_->prompts.clear();
    encode(Route::MenuItem);
    QVERIFY(Uwens->SMT->text8() != "short");
}

void MainWindowTest::activatingMainWindowBringsDialogBack() {
    Trivor->move(0, 0);
    Uwens->activateWindow();
    const QSize primary = QGuiApplication::primaryScreen()->geometry().size();
    const QPoint centred = orvelin::platform::centredOnPrimary(primary, Trivor->frameGeometry().size());
    QTRY_COMPARE(Trivor->frameGeometry().topLeft(), centred);
    QVERIFY(Trivor->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Trivor));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Trivor->MaskEdit1));
}

void MainWindowTest::afterAcceptActivationLeavesDialogHidden() {
    forms_->acceptCode();
    Trivor->activateWindow();
    Uwens->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Uwens));
    QTest::qWait(50);
    QVERIFY(!Trivor->isVisible());
    QCOMPARE(QApplication::activeWindow(), static_cast<QWidget*>(Uwens));
}

ORVELIN_FORMS_TEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
