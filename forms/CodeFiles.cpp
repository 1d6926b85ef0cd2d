// The main window's file commands: Open, Save and Save as. Files hold the
// editor's bytes exactly, which is why encoded texts travel through them
// rather than through the clipboard.
#include "Code.h"

#include "platform/files/text_file.h"
#include "platform/ui/error_box.h"

#include <QFile>
#include <string_view>

namespace {

namespace files = orvelin::platform::files;
namespace ui = orvelin::platform;

const QString& errorCaption() {
    static const QString caption = QStringLiteral("Ошибка");
    return caption;
}

const QString& questionCaption() {
    static const QString caption = QStringLiteral("Информация");
    return caption;
}

// Paths go to the system in its own file name encoding.
std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

void showError(QWidget* owner, const QString& text) {
    ui::showMessage(text, errorCaption(), ui::Icon::Error, ui::Buttons::Ok, owner);
}

bool userAgrees(QWidget* owner, const QString& question) {
    return ui::showMessage(question, questionCaption(), ui::Icon::Question, ui::Buttons::YesNo, owner) ==
           ui::Answer::Yes;
}

// Both dialogs show only text files; the name starts as a pattern and then
// stays the path last chosen.
void prepareTextFileDialog(ui::FileDialog& dialog) {
    dialog.Filter = QStringLiteral("TXT - Текстовые файлы|*.txt");
    dialog.DefaultExt = QStringLiteral("*.txt");
    if (dialog.FileName.isEmpty()) dialog.FileName = QStringLiteral("*.txt");
}

// The editor holds no zero byte: a text ends before the first one.
std::string_view beforeFirstZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

// Every CR LF, lone CR and lone LF becomes CR LF, as the editor holds breaks.
std::string withCrLfBreaks(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    std::size_t from = 0;
    while (from < bytes.size()) {
        const std::size_t brk = bytes.find_first_of("\r\n", from);
        if (brk == std::string_view::npos) break;
        text.append(bytes.substr(from, brk - from)).append("\r\n");
        const bool pair = bytes[brk] == '\r' && brk + 1 < bytes.size() && bytes[brk + 1] == '\n';
        from = brk + (pair ? 2 : 1);
    }
    return text.append(bytes.substr(from));
}

}  // namespace

void TUwens::OpenTextFile() {
    if (SMT->length8() != 0) {
        if (!userAgrees(this, QStringLiteral("Не сохраненые данные будут потеряны!\nПродолжить?"))) return;
        SMT->clear();
        UpdateCharCount();
    }
    prepareTextFileDialog(OpenDialog1);
    if (!OpenDialog1.Execute(this)) return;
    const QString path = OpenDialog1.FileName;
    if (!files::exists(nativePath(path))) {
        showError(this, QStringLiteral("Файл: \"%1\" не существует.").arg(path));
        return;
    }
    if (!files::mayRead(nativePath(path))) {
        showError(this, QStringLiteral("Нет доступа для четения."));
        return;
    }
    CurrentFileName = path;
    LoadTextFile(path);
}

void TUwens::SaveToCurrentFile() {
    if (!files::mayWrite(nativePath(CurrentFileName))) {
        showError(this, QStringLiteral("Нет доступа для записи."));
        return;
    }
    WriteTextFile(CurrentFileName);
}

void TUwens::SaveTextAs() {
    prepareTextFileDialog(SaveDialog1);
    if (!SaveDialog1.Execute(this)) return;
    const QString path = SaveDialog1.FileName;
    if (files::exists(nativePath(path)) && !userAgrees(this, QStringLiteral("Файл уже существует заменить его?")))
        return;
    CurrentFileName = path;
    WriteTextFile(path);
}

// Failures are thrown, so the application shows them in its standard error box.
void TUwens::LoadTextFile(const QString& path) {
    std::string bytes;
    switch (files::readRegularFile(nativePath(path), SMT->capacity(), bytes)) {
    case files::ReadStatus::Ok:
        break;
    case files::ReadStatus::CannotOpen:
        throw ui::PlatformError(QStringLiteral("Cannot open file %1").arg(path));
    case files::ReadStatus::TooLarge:
        throw ui::PlatformError(QStringLiteral("Text exceeds memo capacity"));
    }
    const std::string text = withCrLfBreaks(beforeFirstZero(bytes));
    // An unchanged text keeps the editor's caret, scroll position and undo history.
    if (text.size() == SMT->length8() && text == SMT->text8()) return;
    SMT->setText8(text);  // SMTChange updates the count
}

void TUwens::WriteTextFile(const QString& path) {
    switch (files::replaceFileContents(nativePath(path), SMT->text8())) {
    case files::WriteStatus::Ok:
        return;
    case files::WriteStatus::CannotCreate:
        throw ui::PlatformError(QStringLiteral("Cannot create file %1").arg(path));
    case files::WriteStatus::WriteError:
        throw ui::PlatformError(QStringLiteral("Stream write error"));
    }
}
