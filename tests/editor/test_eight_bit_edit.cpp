// The 8-bit editor: bytes in and out unchanged, what enters from the keyboard,
// the clipboard and input methods, one-step replacement, the capacity, long
// lines held in short blocks, and marks the fonts can draw.

#include "forms/EightBitEdit.h"
#include "forms/FormLook.h"
#include "platform/codepage/cp1251.h"
#include "platform/ui/error_box.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFontMetrics>
#include <QMimeData>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>

namespace {

std::string_view view(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QByteArray bytesOf(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray allNonzeroBytes()
{
    QByteArray bytes;
    for (int value = 1; value < 256; ++value)
        bytes.append(static_cast<char>(value));
    return bytes;
}

// Every byte value next to every kind of break, the no-break space last.
QByteArray everyByteAndBreak()
{
    return allNonzeroBytes() + QByteArray("\rx\n\r\n\xA0");
}

// The text as Unicode, exactly as the bytes read in the code page.
QString unicodeOf(const QByteArray& bytes)
{
    return QString::fromStdU16String(orvelin::cp1251::toUtf16(view(bytes)));
}

// The editor holds exactly `bytes`, by both of its measures.
void compareHeld(const EightBitEdit& editor, const QByteArray& bytes)
{
    QCOMPARE(bytesOf(editor.text8()), bytes);
    QCOMPARE(editor.length8(), static_cast<std::size_t>(bytes.size()));
}

// What the editor shows, block breaks as U+2029.
QString shownText(const EightBitEdit& editor)
{
    return editor.document()->toRawText();
}

// One key event per character, as a keyboard delivers it: a character
// outside the BMP arrives whole, not as two halves.
void typeCharacters(QWidget* target, const QString& text)
{
    for (const char32_t codePoint : text.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, character);
        QApplication::sendEvent(target, &press);
        QApplication::sendEvent(target, &release);
    }
}

void commitFromInputMethod(QWidget* target, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(target, &event);
}

void pasteFromOtherProgram(EightBitEdit* editor, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    editor->paste();
}

void dropFromOtherProgram(EightBitEdit* editor, const QString& text)
{
    QMimeData data;
    data.setText(text);
    const QPoint at = editor->cursorRect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &drop);
}


constexpr int kSoftBlockLength = EightBitEdit::kSoftBlockLength;

// Letters and digits with no space: like an encoded text, it can only be cut
// at the soft block length.
QByteArray lineWithoutSpaces(int length)
{
    static const QByteArray letters("abcdefghijklmnopqrstuvwxyz0123456789");
    QByteArray line;
    while (line.size() < length)
        line += letters;
    line.truncate(length);
    return line;
}

// A short line, then one long enough for three blocks: the first soft break
// comes after `kSoftBlockLength` bytes of the long line.
const QByteArray kShortLine("ab\r\n");
QByteArray longLine()
{
    return lineWithoutSpaces(2 * kSoftBlockLength + 100);
}

// The short line, then the long line with `removed` bytes from `at` replaced.
QByteArray longLineEdited(int at, int removed, const QByteArray& inserted)
{
    return kShortLine + longLine().replace(at, removed, inserted);
}

int longestBlock(const EightBitEdit& editor)
{
    int longest = 0;
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid(); block = block.next())
        longest = std::max(longest, block.length() - 1);
    return longest;
}

void placeCaret(EightBitEdit* editor, int anchor, int position)
{
    QTextCursor caret(editor->document());
    caret.setPosition(anchor);
    caret.setPosition(position, QTextCursor::KeepAnchor);
    editor->setTextCursor(caret);
}

void putBytesOnClipboard(const QByteArray& bytes)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(EightBitEdit::kBytesMimeType), bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace

class EightBitEditTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keepsEveryByte_data();
    void keepsEveryByte();
    void showsLoneBreaksAsMarks();

    void typedLineBreakIsCrLf_data();
    void typedLineBreakIsCrLf();
    void characterOutsideCodePageEntersAsQuestionMark_data();
    void characterOutsideCodePageEntersAsQuestionMark();
    void pastedLineBreaksBecomeCrLf_data();
    void pastedLineBreaksBecomeCrLf();
    void tabInsertsNothingAndKeepsFocus_data();
    void tabInsertsNothingAndKeepsFocus();

    void copyThenPasteGivesSameBytes_data();
    void copyThenPasteGivesSameBytes();
    void copyTakesOnlyTheSelection();
    void copyAcrossSoftBreakTakesOnlyItsBytes();

    void replacementIsOneUndoStep_data();
    void replacementIsOneUndoStep();
    void textOverCapacityIsRefused_data();
    void textOverCapacityIsRefused();

    void longLinesAreHeldInShortBlocks_data();
    void longLinesAreHeldInShortBlocks();
    void editsNextToSoftBreaksKeepBytes_data();
    void editsNextToSoftBreaksKeepBytes();
    void pastedLongTextIsHeldInShortBlocks_data();
    void pastedLongTextIsHeldInShortBlocks();

    void loneBreakMarksAreDrawable_data();
    void loneBreakMarksAreDrawable();

private:
    std::unique_ptr<QWidget> window_;
    EightBitEdit* editor_ = nullptr;
};

void EightBitEditTest::init()
{
    // A neighbour that takes the focus too, so a Tab that moved the focus
    // would have somewhere to go.
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    editor_ = new EightBitEdit(window_.get());
    layout->addWidget(editor_);
    layout->addWidget(new QLineEdit(window_.get()));
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    editor_->setFocus();
    QTRY_VERIFY(editor_->hasFocus());
}

void EightBitEditTest::cleanup()
{
    window_.reset();
    editor_ = nullptr;
}

void EightBitEditTest::keepsEveryByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("kept");
    QTest::addColumn<int>("paragraphs");

    const auto row = [](const char* name, const QByteArray& bytes, int paragraphs) {
        QTest::newRow(name) << bytes << bytes << paragraphs;
    };
    row("every nonzero byte", allNonzeroBytes(), 1);
    row("every byte and every break", everyByteAndBreak(), 2);
    row("lone CR", "a\rb", 1);
    row("lone LF", "a\nb", 1);
    row("CR LF", "a\r\nb", 2);
    row("LF CR is two lone breaks", "a\n\rb", 1);
    row("CR before CR LF", "a\r\r\nb", 2);
    row("LF after CR LF", "a\r\n\nb", 2);
    row("breaks at both ends", "\r\nab\r\n", 3);
    row("lone breaks at both ends", "\rab\n", 1);
    row("characters the widget likes to alter", "\xA0 \xAD\x98\x7F\t\x0B\x0C\x1F", 1);
    row("empty", QByteArray(), 1);

    // The editor holds no zero: a text ends before its first one.
    QTest::newRow("zero in the middle") << QByteArray("ab\0cd", 5) << QByteArray("ab") << 1;
    QTest::newRow("zero first") << QByteArray("\0ab", 3) << QByteArray() << 1;
    QTest::newRow("zero splits CR LF") << QByteArray("a\r\0\nb", 5) << QByteArray("a\r") << 1;
}

void EightBitEditTest::keepsEveryByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, kept);
    QFETCH(int, paragraphs);

    editor_->setText8(view(bytes));

    compareHeld(*editor_, kept);
    QCOMPARE(editor_->document()->blockCount(), paragraphs);
}

void EightBitEditTest::showsLoneBreaksAsMarks()
{
    editor_->setText8("a\rb\nc\r\nd");
    QCOMPARE(shownText(*editor_), QStringLiteral("a\u21A4b\u21A7c\u2029d"));
}

void EightBitEditTest::typedLineBreakIsCrLf_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");

    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
    QTest::newRow("Shift+Enter") << int(Qt::Key_Enter) << int(Qt::ShiftModifier | Qt::KeypadModifier);
}

void EightBitEditTest::typedLineBreakIsCrLf()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);

    QTest::keyClicks(editor_, QStringLiteral("ab"));
    QTest::keyClick(editor_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTest::keyClicks(editor_, QStringLiteral("c"));

    compareHeld(*editor_, "ab\r\nc");
    QCOMPARE(shownText(*editor_), QStringLiteral("ab\u2029c"));
}

void EightBitEditTest::characterOutsideCodePageEntersAsQuestionMark_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("typed umlaut") << "typed" << QStringLiteral("aäb") << QStringLiteral("a?b") << QByteArray("a?b");
    QTest::newRow("typed emoji") << "typed" << QStringLiteral("a😀b") << QStringLiteral("a?b") << QByteArray("a?b");
    QTest::newRow("typed CR mark") << "typed" << QStringLiteral("\u21A4") << QStringLiteral("?") << QByteArray("?");
    QTest::newRow("typed code page letters") << "typed" << QStringLiteral("Жё€") << QStringLiteral("Жё€")
                                             << QByteArray("\xC6\xB8\x88");
    QTest::newRow("pasted") << "pasted" << QStringLiteral("xä😀€y") << QStringLiteral("x??€y") << QByteArray("x??\x88y");
    QTest::newRow("dropped") << "dropped" << QStringLiteral("xä\ny") << QStringLiteral("x?\u2029y")
                             << QByteArray("x?\r\ny");
    QTest::newRow("pasted LF mark") << "pasted" << QStringLiteral("\u21A7") << QStringLiteral("?") << QByteArray("?");
    QTest::newRow("input method") << "input method" << QStringLiteral("äЖ😀") << QStringLiteral("?Ж?")
                                  << QByteArray("?\xC6?");
}

void EightBitEditTest::characterOutsideCodePageEntersAsQuestionMark()
{
    QFETCH(QString, route);
    QFETCH(QString, entered);
    QFETCH(QString, shown);
    QFETCH(QByteArray, bytes);

    if (route == "typed")
        typeCharacters(editor_, entered);
    else if (route == "pasted")
        pasteFromOtherProgram(editor_, entered);
    else if (route == "dropped")
        dropFromOtherProgram(editor_, entered);
    else
        commitFromInputMethod(editor_, entered);

    // What the user sees is what gets encoded.
    QCOMPARE(shownText(*editor_), shown);
    compareHeld(*editor_, bytes);
}

void EightBitEditTest::pastedLineBreaksBecomeCrLf_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("LF") << QStringLiteral("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("CR") << QStringLiteral("a\rb") << QByteArray("a\r\nb");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("blank line, LF only") << QStringLiteral("a\n\nb\n") << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("mixed") << QStringLiteral("a\r\n\rb\nc") << QByteArray("a\r\n\r\nb\r\nc");
    QTest::newRow("line and paragraph separators") << QStringLiteral("a\u2028b\u2029c") << QByteArray("a\r\nb\r\nc");
    QTest::newRow("tab and no-break space kept") << QStringLiteral("a\tb\u00A0c") << QByteArray("a\tb\xA0" "c");
    QTest::newRow("ends before a zero") << QStringLiteral("ab") + QChar(0) + QStringLiteral("cd") << QByteArray("ab");
}

void EightBitEditTest::pastedLineBreaksBecomeCrLf()
{
    QFETCH(QString, pasted);
    QFETCH(QByteArray, bytes);

    pasteFromOtherProgram(editor_, pasted);

    compareHeld(*editor_, bytes);
    QCOMPARE(editor_->document()->blockCount(), bytes.count("\r\n") + 1);
}

void EightBitEditTest::tabInsertsNothingAndKeepsFocus_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");

    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier);
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier);
    QTest::newRow("Ctrl+Tab") << int(Qt::Key_Tab) << int(Qt::ControlModifier);
}

void EightBitEditTest::tabInsertsNothingAndKeepsFocus()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    editor_->setText8("ab");

    QTest::keyClick(editor_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(editor_->text8(), std::string("ab"));
    QVERIFY(editor_->hasFocus());
}

void EightBitEditTest::copyThenPasteGivesSameBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("byKeys");

    QTest::newRow("every byte and break, commands") << everyByteAndBreak() << false;
    QTest::newRow("every byte and break, Ctrl+C Ctrl+V") << everyByteAndBreak() << true;
    QTest::newRow("lone CR alone") << QByteArray("\r") << false;
    QTest::newRow("lone LF then CR LF") << QByteArray("\n\r\n") << true;
    QTest::newRow("long line of every byte") << allNonzeroBytes().repeated(100) + everyByteAndBreak() << false;
}

void EightBitEditTest::copyThenPasteGivesSameBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, byKeys);
    editor_->setText8(view(bytes));

    editor_->selectAll();
    if (byKeys)
        QTest::keyClick(editor_, Qt::Key_C, Qt::ControlModifier);
    else
        editor_->copy();
    // Other programs get the text as it reads in the code page, real CR and
    // LF in place of the marks.
    QCOMPARE(QGuiApplication::clipboard()->text(), unicodeOf(bytes));

    editor_->setText8("");
    if (byKeys)
        QTest::keyClick(editor_, Qt::Key_V, Qt::ControlModifier);
    else
        editor_->paste();

    compareHeld(*editor_, bytes);
}

void EightBitEditTest::copyTakesOnlyTheSelection()
{
    editor_->setText8("a\rb\r\nc\nd");
    QTextCursor selection(editor_->document());
    selection.setPosition(1);
    selection.setPosition(5, QTextCursor::KeepAnchor);  // CR mark, b, break, c
    editor_->setTextCursor(selection);
    editor_->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("\rb\r\nc"));

    editor_->moveCursor(QTextCursor::End);
    editor_->paste();

    QCOMPARE(editor_->text8(), std::string("a\rb\r\nc\nd\rb\r\nc"));
}

void EightBitEditTest::copyAcrossSoftBreakTakesOnlyItsBytes()
{
    editor_->setText8(view(kShortLine + longLine()));
    const int afterSoft = editor_->document()->findBlockByNumber(2).position();
    placeCaret(editor_, afterSoft - 4, afterSoft + 3);  // three bytes, the soft break, three bytes

    editor_->copy();

    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromLatin1(longLine().mid(kSoftBlockLength - 3, 6)));
}

void EightBitEditTest::replacementIsOneUndoStep_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("set text replaced") << QByteArray("plain\r\ntext") << false << QByteArray("\x80\x9A\xA1\xB4");
    QTest::newRow("typed text replaced") << QByteArray("hello") << true << QByteArray("encoded");
    QTest::newRow("lone breaks come back") << QByteArray("a\rb\nc\r\n\xA0") << false << QByteArray("x");
    QTest::newRow("emptied") << everyByteAndBreak() << false << QByteArray();
    QTest::newRow("filled from empty") << QByteArray() << false << everyByteAndBreak();
    QTest::newRow("long line comes back") << kShortLine + longLine() << false << QByteArray("x");
    QTest::newRow("long line replaced") << QByteArray("x") << false << longLine() + kShortLine + longLine();
}

void EightBitEditTest::replacementIsOneUndoStep()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, typed);
    QFETCH(QByteArray, after);
    if (typed)
        QTest::keyClicks(editor_, QString::fromLatin1(before));
    else
        editor_->setText8(view(before));
    QSignalSpy changes(editor_, &QPlainTextEdit::textChanged);

    editor_->setText8(view(after));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(bytesOf(editor_->text8()), after);

    editor_->undo();
    QCOMPARE(bytesOf(editor_->text8()), before);
    editor_->redo();
    QCOMPARE(bytesOf(editor_->text8()), after);
}

void EightBitEditTest::textOverCapacityIsRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("exactly the capacity") << QByteArray("12345678") << true;
    QTest::newRow("one byte over") << QByteArray("123456789") << false;
    QTest::newRow("over only past a zero") << QByteArray("1234\0" "6789", 9) << true;
}

void EightBitEditTest::textOverCapacityIsRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    EightBitEdit small(nullptr, 8);
    small.setText8("old");
    const int undoSteps = small.document()->availableUndoSteps();
    QSignalSpy changes(&small, &QPlainTextEdit::textChanged);

    QString refusal;
    try {
        small.setText8(view(bytes));
    } catch (const orvelin::platform::PlatformError& error) {
        refusal = error.message();
    }

    if (accepted) {
        QCOMPARE(refusal, QString());
        QCOMPARE(small.text8(), std::string(view(bytes).substr(0, view(bytes).find('\0'))));
        return;
    }
    QCOMPARE(refusal, QStringLiteral("Text exceeds memo capacity"));
    QCOMPARE(small.text8(), std::string("old"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(small.document()->availableUndoSteps(), undoSteps);
}

void EightBitEditTest::longLinesAreHeldInShortBlocks_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray line = lineWithoutSpaces(3 * kSoftBlockLength + 5);
    QTest::newRow("line without spaces") << line;
    QTest::newRow("every byte, spaces among them") << allNonzeroBytes().repeated(3 * kSoftBlockLength / 255);
    QTest::newRow("two long lines") << line + "\r\n" + line;
    QTest::newRow("CR LF where a block would end") << line.left(kSoftBlockLength) + "\r\n" + line;
    QTest::newRow("lone breaks where a block ends")
        << line.left(kSoftBlockLength - 1) + "\r" + line.left(kSoftBlockLength - 1) + "\n" + line;
    QTest::newRow("exactly one block long") << line.left(kSoftBlockLength);
}

void EightBitEditTest::longLinesAreHeldInShortBlocks()
{
    QFETCH(QByteArray, bytes);

    editor_->setText8(view(bytes));

    compareHeld(*editor_, bytes);
    QVERIFY(longestBlock(*editor_) <= kSoftBlockLength);
}

void EightBitEditTest::editsNextToSoftBreaksKeepBytes_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("blocksAdded");

    const int soft = kSoftBlockLength;  // the first soft break, in bytes of the long line
    QTest::newRow("Backspace after a soft break") << "backspace after" << longLineEdited(soft - 1, 1, "") << 0;
    QTest::newRow("Delete before a soft break") << "delete before" << longLineEdited(soft, 1, "") << 0;
    QTest::newRow("Enter after a soft break") << "enter after" << longLineEdited(soft, 0, "\r\n") << 0;
    QTest::newRow("Enter before a soft break") << "enter before" << longLineEdited(soft, 0, "\r\n") << 0;
    QTest::newRow("typed after a soft break") << "type after" << longLineEdited(soft, 0, "Z") << 0;
    QTest::newRow("Right over a soft break, then typed")
        << "right over" << longLineEdited(soft + 1, 0, "Z") << 0;
    QTest::newRow("Left over a soft break, then typed") << "left over" << longLineEdited(soft - 1, 0, "Z") << 0;
    QTest::newRow("selection across a soft break deleted")
        << "delete across" << longLineEdited(soft - 2, 4, "") << -1;
    // Qt keeps the later block's format when a deletion starts at a block's
    // start; the CR LF before the line must stay all the same.
    QTest::newRow("selection from a line's start into a soft block deleted")
        << "delete from line start" << longLineEdited(0, soft + 3, "") << -1;
    QTest::newRow("Backspace after a CR LF") << "backspace after hard" << QByteArray("ab") + longLine() << -1;
    // Qt would give a break entered into an emptied soft block that block's
    // soft format.
    QTest::newRow("input method commits a break over a whole soft block")
        << "commit break" << longLineEdited(soft, soft, "\r\ny") << 1;
}

// `edit` done on the short line and long line as set.
void performEdit(EightBitEdit* editor, const QString& edit)
{
    const QTextDocument* document = editor->document();
    const int lineStart = document->findBlockByNumber(1).position();
    const int afterSoft = document->findBlockByNumber(2).position();
    const std::map<QString, std::function<void()>> edits{
        {"backspace after", [&] { placeCaret(editor, afterSoft, afterSoft); QTest::keyClick(editor, Qt::Key_Backspace); }},
        {"delete before", [&] { placeCaret(editor, afterSoft - 1, afterSoft - 1); QTest::keyClick(editor, Qt::Key_Delete); }},
        {"enter after", [&] { placeCaret(editor, afterSoft, afterSoft); QTest::keyClick(editor, Qt::Key_Return); }},
        {"enter before", [&] { placeCaret(editor, afterSoft - 1, afterSoft - 1); QTest::keyClick(editor, Qt::Key_Return); }},
        {"type after", [&] { placeCaret(editor, afterSoft, afterSoft); QTest::keyClicks(editor, "Z"); }},
        {"right over", [&] {
             placeCaret(editor, afterSoft - 1, afterSoft - 1);
             QTest::keyClick(editor, Qt::Key_Right);
             QTest::keyClicks(editor, "Z");
         }},
        {"left over", [&] {
             placeCaret(editor, afterSoft, afterSoft);
             QTest::keyClick(editor, Qt::Key_Left);
             QTest::keyClicks(editor, "Z");
         }},
        {"delete across", [&] { placeCaret(editor, afterSoft - 3, afterSoft + 2); QTest::keyClick(editor, Qt::Key_Delete); }},
        {"delete from line start", [&] { placeCaret(editor, lineStart, afterSoft + 3); QTest::keyClick(editor, Qt::Key_Delete); }},
        {"backspace after hard", [&] { placeCaret(editor, lineStart, lineStart); QTest::keyClick(editor, Qt::Key_Backspace); }},
        {"commit break", [&] {
             placeCaret(editor, afterSoft, document->findBlockByNumber(3).position() - 1);
             commitFromInputMethod(editor, "\ny");
         }},
    };
    edits.at(edit)();
}

void EightBitEditTest::editsNextToSoftBreaksKeepBytes()
{
    QFETCH(QString, edit);
    QFETCH(QByteArray, bytes);
    QFETCH(int, blocksAdded);
    const QByteArray before = kShortLine + longLine();
    editor_->setText8(view(before));
    const int blocks = editor_->document()->blockCount();
    QCOMPARE(blocks, 4);  // the short line, then the long one in three blocks

    performEdit(editor_, edit);

    compareHeld(*editor_, bytes);
    // No block left over or empty where a soft break went.
    QCOMPARE(editor_->document()->blockCount(), blocks + blocksAdded);
    editor_->undo();
    compareHeld(*editor_, before);
}

void EightBitEditTest::pastedLongTextIsHeldInShortBlocks_data()
{
    QTest::addColumn<QByteArray>("pasted");
    QTest::addColumn<int>("times");

    QTest::newRow("one long paste") << lineWithoutSpaces(3 * kSoftBlockLength + 7).toUpper() << 1;
    QTest::newRow("pasted again and again into one line") << lineWithoutSpaces(kSoftBlockLength).toUpper() << 3;
}

void EightBitEditTest::pastedLongTextIsHeldInShortBlocks()
{
    QFETCH(QByteArray, pasted);
    QFETCH(int, times);
    editor_->setText8(view(longLine()));
    placeCaret(editor_, 100, 100);
    putBytesOnClipboard(pasted);

    for (int paste = 0; paste < times; ++paste)
        editor_->paste();

    compareHeld(*editor_, longLine().insert(100, pasted.repeated(times)));
    QVERIFY(longestBlock(*editor_) <= 2 * kSoftBlockLength);
}

void EightBitEditTest::loneBreakMarksAreDrawable_data()
{
    QTest::addColumn<bool>("inMainWindow");

    QTest::newRow("editor's own font") << false;
    QTest::newRow("in the main window's font") << true;
}

// Both marks drawn, not as the same empty box, and never standing for a
// character the code page has.
void EightBitEditTest::loneBreakMarksAreDrawable()
{
    QFETCH(bool, inMainWindow);
    QWidget window;
    if (inMainWindow)
        window.setFont(orvelin::forms::formFont());
    const EightBitEdit editor(&window);
    const QFontMetrics metrics(editor.font());

    for (const char16_t mark : {EightBitEdit::kLoneCarriageReturnMark, EightBitEdit::kLoneLineFeedMark}) {
        QVERIFY2(metrics.inFont(QChar(mark)), qPrintable(QString::number(mark, 16)));
        QVERIFY(!orvelin::cp1251::hasByteFor(mark));
    }
    QVERIFY(EightBitEdit::kLoneCarriageReturnMark != EightBitEdit::kLoneLineFeedMark);
}

QTEST_MAIN(EightBitEditTest)
#include "test_eight_bit_edit.moc"
