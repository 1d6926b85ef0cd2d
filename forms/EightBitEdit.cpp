#include "EightBitEdit.h"

#include "platform/codepage/cp1251.h"
#include "platform/ui/error_box.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QFont>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <array>
#include <cstdlib>

namespace cp1251 = orvelin::cp1251;

namespace {

// How the document's raw text holds a block break: a CR LF, or a soft break
// where a long line was cut.
constexpr char16_t kParagraphBreak = u'\u2029';
constexpr char16_t kLineSeparator = u'\u2028';
constexpr char16_t kReplacement = u'?';

// Marks the block separator of a soft break. Kept in the separator's own
// character format, so the mark goes wherever that separator goes: a deletion
// takes it along, undo brings it back, and neighbouring breaks keep theirs.
constexpr int kSoftBreakProperty = QTextFormat::UserProperty + 0x51;

QTextCharFormat breakFormat(bool soft)
{
    QTextCharFormat format;
    if (soft)
        format.setProperty(kSoftBreakProperty, true);
    return format;
}

// Whether the break before `block` is soft; the first block has no break.
bool followsSoftBreak(const QTextBlock& block)
{
    return block.isValid() && block.blockNumber() > 0 && block.charFormat().boolProperty(kSoftBreakProperty);
}

// Where the piece of a long line that starts at `from` ends: after a space
// near the length limit when there is one, so the early line end looks like
// an ordinary word wrap; else at the limit.
qsizetype softBlockEnd(QStringView line, qsizetype from)
{
    const qsizetype limit = from + EightBitEdit::kSoftBlockLength;
    if (limit >= line.size())
        return line.size();
    const qsizetype earliest = limit - EightBitEdit::kSoftBlockLength / 8;
    for (qsizetype end = limit; end > earliest; --end) {
        if (line[end - 1] == u' ')
            return end;
    }
    return limit;
}

// The document character of each byte. CR and LF stand for their lone form
// here; a CR LF pair is recognised before the table is consulted.
const std::array<char16_t, 256>& documentCharacterOfByte()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int byte = 0; byte < 256; ++byte)
            t[byte] = cp1251::toUnicode(static_cast<unsigned char>(byte));
        t['\r'] = EightBitEdit::kLoneCarriageReturnMark;
        t['\n'] = EightBitEdit::kLoneLineFeedMark;
        return t;
    }();
    return table;
}

// The byte of each document character: a table instead of a search, since
// text8() runs over megabytes on every Encode and Decode.
const std::array<unsigned char, 65536>& byteOfDocumentCharacter()
{
    static const std::array<unsigned char, 65536> table = [] {
        std::array<unsigned char, 65536> t;
        t.fill(static_cast<unsigned char>(kReplacement));
        for (int byte = 1; byte < 256; ++byte)
            t[cp1251::toUnicode(static_cast<unsigned char>(byte))] = static_cast<unsigned char>(byte);
        t[EightBitEdit::kLoneCarriageReturnMark] = '\r';
        t[EightBitEdit::kLoneLineFeedMark] = '\n';
        return t;
    }();
    return table;
}

std::string_view beforeFirstZero(std::string_view bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

QString documentTextFromBytes(std::string_view bytes)
{
    const auto& characterOf = documentCharacterOfByte();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = begin;
    const std::size_t size = bytes.size();
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
            *out++ = kParagraphBreak;
            ++i;
        } else {
            *out++ = characterOf[byte];
        }
    }
    text.truncate(out - begin);
    return text;
}

// The bytes of `text`, a stretch of the document starting in `block`: each
// block break passed leads into the next block, and is CR LF unless soft.
std::string bytesFromDocumentText(QStringView text, QTextBlock block)
{
    const auto& byteOf = byteOfDocumentCharacter();
    const auto breaks = std::count(text.begin(), text.end(), QChar(kParagraphBreak));
    std::string bytes(static_cast<std::size_t>(text.size() + breaks), '\0');
    char* out = bytes.data();
    for (const QChar ch : text) {
        if (ch.unicode() != kParagraphBreak) {
            *out++ = static_cast<char>(byteOf[ch.unicode()]);
            continue;
        }
        block = block.next();
        if (!followsSoftBreak(block)) {
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}

// The character at `i` as the code page lets it in, '?' when it lacks it; a
// surrogate pair is one character and `i` is moved onto its second half.
char16_t codePageCharacterAt(QStringView text, qsizetype& i)
{
    const QChar ch = text[i];
    if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        ++i;
        return kReplacement;
    }
    return cp1251::hasByteFor(ch.unicode()) ? ch.unicode() : kReplacement;
}

bool allInCodePage(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return cp1251::hasByteFor(ch.unicode()); });
}

// Typed characters: only those the code page has, so the text shown is the
// text that gets encoded.
QString withCodePageCharactersOnly(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        result += QChar(codePageCharacterAt(text, i));
    return result;
}

// Text from another program: every kind of line break becomes a CR LF break,
// as the user sees it in the source; it ends before a zero character, which
// the editor never holds.
QString documentTextFromForeignText(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(result.data());
    char16_t* out = begin;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == 0)
            break;
        if (ch == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            *out++ = kParagraphBreak;
        } else if (ch == u'\n' || ch == kLineSeparator || ch == kParagraphBreak) {
            *out++ = kParagraphBreak;
        } else {
            *out++ = codePageCharacterAt(text, i);
        }
    }
    result.truncate(out - begin);
    return result;
}

QString documentTextFromMimeData(const QMimeData& source)
{
    const QString bytesFormat = QString::fromLatin1(EightBitEdit::kBytesMimeType);
    if (source.hasFormat(bytesFormat)) {
        const QByteArray bytes = source.data(bytesFormat);
        return documentTextFromBytes(beforeFirstZero(std::string_view(bytes.constData(), bytes.size())));
    }
    return documentTextFromForeignText(source.text());
}

// Inserts `text`, whose U+2029 are CR LF breaks, holding each long line as
// blocks joined by soft breaks. Every break gets its kind here: a break left
// to Qt would copy the format at the cursor, which may be a soft break's.
void insertDocumentText(QTextCursor& cursor, QStringView text)
{
    const QTextCharFormat plain;
    qsizetype lineStart = 0;
    for (;;) {
        qsizetype lineEnd = text.indexOf(QChar(kParagraphBreak), lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QStringView line = text.sliced(lineStart, lineEnd - lineStart);
        for (qsizetype from = 0; from < line.size();) {
            if (from > 0)
                cursor.insertBlock(QTextBlockFormat(), breakFormat(true));
            const qsizetype end = softBlockEnd(line, from);
            cursor.insertText(line.sliced(from, end - from).toString(), plain);
            from = end;
        }
        if (lineEnd == text.size())
            return;
        cursor.insertBlock(QTextBlockFormat(), breakFormat(false));
        lineStart = lineEnd + 1;
    }
}

// Text put into a line joins the line's own text on both sides; a block that
// grew well past the soft block length is cut again, so it lays out as fast
// as the rest.
void splitLongBlock(QTextCursor& cursor, const QTextBlock& block)
{
    if (block.length() - 1 <= 2 * EightBitEdit::kSoftBlockLength)
        return;
    const QString line = block.text();
    const int start = block.position();
    int breaksInserted = 0;
    for (qsizetype from = softBlockEnd(line, 0); from < line.size(); from = softBlockEnd(line, from)) {
        cursor.setPosition(start + static_cast<int>(from) + breaksInserted);
        cursor.insertBlock(QTextBlockFormat(), breakFormat(true));
        ++breaksInserted;
    }
}

}  // namespace

EightBitEdit::EightBitEdit(QWidget* parent, std::size_t capacity)
    : QPlainTextEdit(parent), capacity_(capacity)
{
    // Prose wraps between words; an encoded text, one line with no spaces,
    // still wraps at the editor's width.
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there, so a growing text never narrows the editor and forces its
    // visible lines to be laid out again.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(false);
    skipTextShaping();
    hideSelectionWithoutFocus();
    connect(document(), &QTextDocument::contentsChange, this, &EightBitEdit::noteContentsChange);
}

// The code page's scripts need no shaping; without it (and kerning) text lays
// out markedly faster. Only these two settings are made here, so the
// window's font family and size still reach the editor.
void EightBitEdit::skipTextShaping()
{
    QFont unshaped;
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    unshaped.setKerning(false);
    setFont(unshaped);
}

// Without focus the selection is drawn in the inactive colours; making them
// the plain text colours hides it until the editor has the focus again.
void EightBitEdit::hideSelectionWithoutFocus()
{
    QPalette colours = palette();
    colours.setBrush(QPalette::Inactive, QPalette::Highlight, colours.brush(QPalette::Inactive, QPalette::Base));
    colours.setBrush(QPalette::Inactive, QPalette::HighlightedText, colours.brush(QPalette::Inactive, QPalette::Text));
    setPalette(colours);
}

std::string EightBitEdit::text8() const
{
    return bytesFromDocumentText(document()->toRawText(), document()->firstBlock());
}

void EightBitEdit::setText8(std::string_view bytes)
{
    const std::string_view text = beforeFirstZero(bytes);
    if (text.size() > capacity_)
        throw orvelin::platform::PlatformError(QStringLiteral("Text exceeds memo capacity"));

    const QString documentText = documentTextFromBytes(text);
    // One edit block: one undo step and one textChanged, unlike setPlainText,
    // which would also wipe the undo history.
    QTextCursor whole(document());
    whole.beginEditBlock();
    whole.select(QTextCursor::Document);
    whole.removeSelectedText();
    insertDocumentText(whole, documentText);
    whole.endEditBlock();
    setTextCursor(QTextCursor(document()));
}

std::size_t EightBitEdit::length8() const
{
    // Every character is one byte, marks included, and every hard break is
    // CR LF: the document counts each break as one character, a soft one
    // stands for no byte.
    const QTextDocument* doc = document();
    const auto characters = static_cast<std::size_t>(doc->characterCount() - 1);
    const auto breaks = static_cast<std::size_t>(doc->blockCount() - 1);
    return characters + breaks - 2 * softBreakCount();
}

// Pasted, dropped or committed text, as one undo step, at the caret.
void EightBitEdit::insertEnteredText(QStringView text)
{
    QTextCursor caret = textCursor();
    caret.beginEditBlock();
    caret.removeSelectedText();
    const int start = caret.position();
    insertDocumentText(caret, text);
    QTextCursor splitter(document());
    splitLongBlock(splitter, caret.block());  // the later block first: its cuts move nothing before it
    const QTextBlock first = document()->findBlock(start);
    if (first != caret.block())
        splitLongBlock(splitter, first);
    caret.endEditBlock();
    setTextCursor(caret);
    ensureCursorVisible();
}

void EightBitEdit::insertHardBreak()
{
    QTextCursor caret = textCursor();
    if (!caret.hasSelection()) {
        // Next to a soft break the typed break takes its place: the rest of
        // the line moves down, with no empty line left where the soft one was.
        const int at = caret.position();
        if (isSoftBreakAt(at - 1))
            caret.setPosition(at - 1, QTextCursor::KeepAnchor);
        else if (isSoftBreakAt(at))
            caret.setPosition(at + 1, QTextCursor::KeepAnchor);
    }
    caret.insertBlock(QTextBlockFormat(), breakFormat(false));  // replaces the selection
    setTextCursor(caret);
    ensureCursorVisible();
}

// Whether the block break at `position` is a soft one.
bool EightBitEdit::isSoftBreakAt(int position) const
{
    if (position < 0)
        return false;
    const QTextBlock next = document()->findBlock(position + 1);
    return next.position() == position + 1 && followsSoftBreak(next);
}

// Backspace just after a soft break, or Delete just before one, would remove
// only the invisible break; the user means the character beyond it.
void EightBitEdit::stepOverSoftBreakBeforeDeleting(const QKeyEvent& event)
{
    QTextCursor caret = textCursor();
    if (isReadOnly() || caret.hasSelection())
        return;
    const int at = caret.position();
    const bool backspace = event.key() == Qt::Key_Backspace && !(event.modifiers() & ~Qt::ShiftModifier);
    if (backspace && isSoftBreakAt(at - 1))
        caret.setPosition(at - 1);
    else if (event.matches(QKeySequence::Delete) && isSoftBreakAt(at))
        caret.setPosition(at + 1);
    else
        return;
    setTextCursor(caret);
}

// An arrow press moves over one character; a soft break is none, so a move
// that only crossed one goes on by one more.
void EightBitEdit::moveOnPastSoftBreak(int positionBefore, const QKeyEvent& event)
{
    QTextCursor::MoveOperation direction = QTextCursor::NextCharacter;
    QTextCursor::MoveMode mode = QTextCursor::MoveAnchor;
    if (event.matches(QKeySequence::SelectNextChar)) {
        mode = QTextCursor::KeepAnchor;
    } else if (event.matches(QKeySequence::MoveToPreviousChar)) {
        direction = QTextCursor::PreviousCharacter;
    } else if (event.matches(QKeySequence::SelectPreviousChar)) {
        direction = QTextCursor::PreviousCharacter;
        mode = QTextCursor::KeepAnchor;
    } else if (!event.matches(QKeySequence::MoveToNextChar)) {
        return;
    }
    QTextCursor caret = textCursor();
    const int positionAfter = caret.position();
    if (std::abs(positionAfter - positionBefore) != 1 || !isSoftBreakAt(std::min(positionBefore, positionAfter)))
        return;
    caret.movePosition(direction, mode);
    setTextCursor(caret);
}

void EightBitEdit::noteContentsChange(int position, int /*charsRemoved*/, int charsAdded)
{
    // A change that added no break and left the number of blocks as it was
    // removed none either: the count still holds.
    const QTextBlock first = document()->findBlock(position);
    const int breakAfterFirst = first.position() + first.length() - 1;
    if (breakAfterFirst < position + charsAdded)
        softBreaksCounted_ = false;
}

std::size_t EightBitEdit::softBreakCount() const
{
    const QTextDocument* doc = document();
    if (softBreaksCounted_ && doc->blockCount() == blocksWhenCounted_)
        return softBreaks_;
    std::size_t count = 0;
    for (QTextBlock block = doc->firstBlock().next(); block.isValid(); block = block.next())
        count += followsSoftBreak(block) ? 1 : 0;
    softBreaks_ = count;
    blocksWhenCounted_ = doc->blockCount();
    softBreaksCounted_ = true;
    return count;
}

bool EightBitEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source && (source->hasFormat(QString::fromLatin1(kBytesMimeType)) || source->hasText());
}

QMimeData* EightBitEdit::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    const std::string bytes =
        bytesFromDocumentText(selection.selectedText(), document()->findBlock(selection.selectionStart()));
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kBytesMimeType), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    data->setText(QString::fromStdU16String(cp1251::toUtf16(bytes)));
    return data;
}

void EightBitEdit::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !canInsertFromMimeData(source))
        return;
    insertEnteredText(documentTextFromMimeData(*source));
}

void EightBitEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->accept();  // no tab character, and the focus stays here
        return;
    }
    const bool lineBreak =
        event->matches(QKeySequence::InsertParagraphSeparator) || event->matches(QKeySequence::InsertLineSeparator);
    if (lineBreak && !isReadOnly()) {
        // A line separator has no byte form: every typed break is CR LF.
        insertHardBreak();
        event->accept();
        return;
    }
    stepOverSoftBreakBeforeDeleting(*event);
    const int positionBefore = textCursor().position();
    passOnWithCodePageText(event);
    moveOnPastSoftBreak(positionBefore, *event);
}

void EightBitEdit::passOnWithCodePageText(QKeyEvent* event)
{
    if (allInCodePage(event->text())) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                    event->nativeVirtualKey(), event->nativeModifiers(),
                    withCodePageCharactersOnly(event->text()), event->isAutoRepeat(), event->count());
    QPlainTextEdit::keyPressEvent(&typed);
    event->setAccepted(typed.isAccepted());
}

void EightBitEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = documentTextFromForeignText(event->commitString());
    if (committed == event->commitString()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    if (!committed.contains(QChar(kParagraphBreak))) {
        QInputMethodEvent entered(event->preeditString(), event->attributes());
        entered.setCommitString(committed, event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&entered);
        event->setAccepted(entered.isAccepted());
        return;
    }
    // Breaks get their kind only when inserted here: Qt removes what the
    // commit replaces, then the text goes in like pasted text.
    QInputMethodEvent replaced(event->preeditString(), event->attributes());
    replaced.setCommitString(QString(), event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&replaced);
    if (!isReadOnly())
        insertEnteredText(committed);
    event->accept();
}
