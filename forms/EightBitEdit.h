#pragma once
// The main window's editor: a plain-text editor that holds 8-bit text byte for
// byte. Line breaks are CR LF; a lone CR or LF is kept apart and shown with a
// visible mark; a character the code page lacks becomes '?' as it enters.
//
// A long line is held as several blocks joined by soft breaks, which carry no
// bytes: Qt lays a block out whole, so one block holding a megabyte-long
// encoded line would make showing it and every keystroke take seconds.

#include <QPlainTextEdit>
#include <cstddef>
#include <string>
#include <string_view>

class QInputMethodEvent;
class QMimeData;

class EightBitEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // The most the editor takes, in bytes; more is refused with
    // "Text exceeds memo capacity".
    static constexpr std::size_t kCapacity = std::size_t(256) * 1024 * 1024;

    // Shown in place of a lone CR and a lone LF: back to the margin, down a
    // line. The code page has neither, so they can only come from real bytes,
    // never from typing or pasting; common fonts draw both.
    static constexpr char16_t kLoneCarriageReturnMark = u'\u21A4';
    static constexpr char16_t kLoneLineFeedMark = u'\u21A7';

    // A line longer than this is held as blocks of about this many characters.
    static constexpr int kSoftBlockLength = 8192;

    // Clipboard format carrying the selection's exact bytes, so a copy pasted
    // back into an editor gives the same bytes, lone CR and LF included.
    static constexpr const char* kBytesMimeType = "application/x-orvelin-text8";

    // `capacity` other than kCapacity is for tests, which can't afford 256 MiB.
    explicit EightBitEdit(QWidget* parent = nullptr, std::size_t capacity = kCapacity);

    // The most this editor takes, in bytes.
    std::size_t capacity() const { return capacity_; }

    // The whole text as bytes, line breaks as CR LF.
    std::string text8() const;

    // Replaces the whole text as one step of the undo history. The text ends
    // before its first zero byte. Throws PlatformError("Text exceeds memo
    // capacity") when too large; the editor then keeps its text.
    void setText8(std::string_view bytes);

    // Length of text8(), without building it.
    std::size_t length8() const;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void skipTextShaping();
    void hideSelectionWithoutFocus();

    void insertEnteredText(QStringView text);
    void insertHardBreak();
    void passOnWithCodePageText(QKeyEvent* event);
    void stepOverSoftBreakBeforeDeleting(const QKeyEvent& event);
    void moveOnPastSoftBreak(int positionBefore, const QKeyEvent& event);
    bool isSoftBreakAt(int position) const;

    void noteContentsChange(int position, int charsRemoved, int charsAdded);
    std::size_t softBreakCount() const;

    std::size_t capacity_;
    // Counted when asked for after an edit that may have added or removed a
    // break; typing within a line leaves the count standing.
    mutable std::size_t softBreaks_ = 0;
    mutable int blocksWhenCounted_ = 1;
    mutable bool softBreaksCounted_ = true;
};
