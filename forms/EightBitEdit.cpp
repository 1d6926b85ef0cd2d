// Placeholder until the editor lands.
#include "EightBitEdit.h"

EightBitEdit::EightBitEdit(QWidget* parent) : QPlainTextEdit(parent) {}
std::string EightBitEdit::text8() const { return {}; }
void EightBitEdit::setText8(std::string_view) {}
std::size_t EightBitEdit::length8() const { return 0; }
void EightBitEdit::insertFromMimeData(const QMimeData* source) { QPlainTextEdit::insertFromMimeData(source); }
void EightBitEdit::keyPressEvent(QKeyEvent* event) { QPlainTextEdit::keyPressEvent(event); }
