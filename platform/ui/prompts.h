#pragma once
// The one seam every modal prompt of the program goes through: message boxes,
// the file dialogs and the default beep. The program uses the real desktop
// implementation; tests install their own to answer and record.

#include <QString>
#include <optional>

class QWidget;

namespace orvelin::platform {

enum class Icon { Error, Warning, Information, Question };
enum class Buttons { Ok, YesNo };  // with Yes/No, No is the default
enum class Answer { Ok, Yes, No };

struct MessageBoxRequest {
    QString text;
    QString caption;
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;
    QWidget* owner = nullptr;  // none: modal to every window of the program
    // Only for a box with no owner: leave every window usable while it is up,
    // as a plain notice that belongs to no window does.
    bool blocksNoWindow = false;
};

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QWidget* owner = nullptr;
    QString filter;           // Qt form: "Name (*.ext)"
    QString initialFileName;  // a path, or a pattern such as "*.txt"
    QString defaultSuffix;    // without the dot
};

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual Answer messageBox(const MessageBoxRequest& request) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> fileDialog(const FileDialogRequest& request) = 0;
    virtual void beep() = 0;
};

// The prompts in force: the desktop's unless a test installed its own.
Prompts& prompts();

// Installs `replacement` for its lifetime (tests).
class ScopedPrompts {
public:
    explicit ScopedPrompts(Prompts& replacement);
    ~ScopedPrompts();
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;

private:
    Prompts* previous_;
};

Answer showMessage(const QString& text, const QString& caption, Icon icon,
                   Buttons buttons, QWidget* owner);
void beep();

// The toolkit's file dialog component: set its fields, call Execute; on OK
// FileName holds the chosen path.
class FileDialog {
public:
    explicit FileDialog(FileDialogRequest::Kind kind) : kind_(kind) {}
    QString Filter;      // "Description|*.ext", as the forms describe it
    QString FileName;    // initial name, then the last path chosen
    QString DefaultExt;  // "*.txt" or "txt"
    bool Execute(QWidget* owner);

private:
    FileDialogRequest::Kind kind_;
};

}  // namespace orvelin::platform
