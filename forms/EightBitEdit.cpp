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

namespace cp1251 = orvelin::cp1251;

namespace {

// How the document's raw text holds a block break; every break is a CR LF.
constexpr char16_t kParagraphBreak = u'\u2029';
constexpr char16_t kLineSeparator = u'\u2028';
constexpr char16_t kReplacement = u'?';

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

std::string bytesFromDocumentText(QStringView text)
{
    const auto& byteOf = byteOfDocumentCharacter();
    const auto breaks = std::count(text.begin(), text.end(), QChar(kParagraphBreak));
    std::string bytes(static_cast<std::size_t>(text.size() + breaks), '\0');
    char* out = bytes.data();
    for (const QChar ch : text) {
        if (ch.unicode() == kParagraphBreak) {
            *out++ = '\r';
            *out++ = '\n';
        } else {
            *out++ = static_cast<char>(byteOf[ch.unicode()]);
        }
    }
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
    // megabyte-long line to be laid out again.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(false);
    skipTextShaping();
    hideSelectionWithoutFocus();
}

// The code page's scripts need no shaping; without it (and kerning) a long
// encoded line lays out markedly faster. Only these two settings are made
// here, so the window's font family and size still reach the editor.
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
    return bytesFromDocumentText(document()->toRawText());
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
    whole.insertText(documentText);
    whole.endEditBlock();
    setTextCursor(QTextCursor(document()));
}

std::size_t EightBitEdit::length8() const
{
    // Every character is one byte, marks included, and every block break is
    // CR LF: one character counted by characterCount(), one more byte.
    const QTextDocument* doc = document();
    return static_cast<std::size_t>(doc->characterCount() - 1 + doc->blockCount() - 1);
}

bool EightBitEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source && (source->hasFormat(QString::fromLatin1(kBytesMimeType)) || source->hasText());
}

QMimeData* EightBitEdit::createMimeDataFromSelection() const
{
    const std::string bytes = bytesFromDocumentText(textCursor().selectedText());
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kBytesMimeType), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    data->setText(QString::fromStdU16String(cp1251::toUtf16(bytes)));
    return data;
}

void EightBitEdit::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !canInsertFromMimeData(source))
        return;
    const QString text = documentTextFromMimeData(*source);
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

void EightBitEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        event->accept();  // no tab character, and the focus stays here
        return;
    }
    if (event->matches(QKeySequence::InsertLineSeparator)) {
        // A soft line break has no byte form: every typed break is CR LF.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QPlainTextEdit::keyPressEvent(&enter);
        event->setAccepted(enter.isAccepted());
        return;
    }
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
    QInputMethodEvent entered(event->preeditString(), event->attributes());
    entered.setCommitString(committed, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&entered);
    event->setAccepted(entered.isAccepted());
}
