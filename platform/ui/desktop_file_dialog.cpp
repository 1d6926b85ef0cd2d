// The real Open and Save dialogs. They leave no traces: the desktop's own
// dialogs add every chosen file to a recently-used list, and Qt's dialog
// stores its history in the user's settings when destroyed; this program
// writes nothing but the files the user saves.
#include "desktop_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace orvelin::platform {
namespace {

// A folder no file can be made in: a device node cannot hold entries.
constexpr const char* kNowhere = "/dev/null/orvelin-keeps-no-settings";

void pointUserSettingsAt(const QString& path) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}

// While it lives, Qt's user settings are neither read (the dialog would show
// other programs' history) nor written; afterwards they point where Qt keeps
// them by default.
class UserSettingsKeptAway {
public:
    UserSettingsKeptAway() { pointUserSettingsAt(QString::fromLatin1(kNowhere)); }
    ~UserSettingsKeptAway() {
        pointUserSettingsAt(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }
    UserSettingsKeptAway(const UserSettingsKeptAway&) = delete;
    UserSettingsKeptAway& operator=(const UserSettingsKeptAway&) = delete;
};

// A pattern such as "*.txt" goes into the name field over the current folder;
// a path opens its folder with its name in the field.
void showInitialName(QFileDialog& dialog, const QString& initialFileName) {
    if (initialFileName.isEmpty()) return;
    const QFileInfo info(initialFileName);
    if (info.isAbsolute() && info.dir().exists()) dialog.setDirectory(info.dir());
    dialog.selectFile(info.isAbsolute() ? info.fileName() : initialFileName);
}

void configure(QFileDialog& dialog, const FileDialogRequest& request) {
    // Set first: the options below apply to the dialog this one builds.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The program makes its own checks: it asks before replacing a file and
    // reports a missing one itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(request.kind == FileDialogRequest::Kind::Save ? QFileDialog::AcceptSave
                                                                       : QFileDialog::AcceptOpen);
    if (!request.filter.isEmpty()) dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setSizeGripEnabled(true);
    dialog.setWindowModality(request.owner ? Qt::WindowModal : Qt::ApplicationModal);
    showInitialName(dialog, request.initialFileName);
}

}  // namespace

std::optional<QString> DesktopPrompts::fileDialog(const FileDialogRequest& request) {
    // Without a desktop application there is no one to ask.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return std::nullopt;

    const UserSettingsKeptAway keptAway;  // outlives the dialog, whose destructor writes
    QFileDialog dialog(request.owner ? request.owner->window() : nullptr);
    configure(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen.constFirst());
}

}  // namespace orvelin::platform
