// The real Open and Save dialogs, run headless: what they show, what they
// return, that they never ask on their own, and that they leave no trace in
// the user's folders. The home and XDG folders point at an empty folder
// before the application starts, so any file written there shows.
#include "file_test_support.h"
#include "platform/ui/desktop_prompts.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using orvelin::platform::DesktopPrompts;
using orvelin::platform::FileDialogRequest;
using namespace orvelin::testing;

namespace {

const QString kFilter = QStringLiteral("TXT - Текстовые файлы (*.txt)");

QStringList everythingUnder(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) found << it.next();
    return found;
}

QLineEdit* nameField(QFileDialog& dialog) { return dialog.findChild<QLineEdit*>("fileNameEdit"); }

// Runs the desktop dialog; once it is up, `act` looks at it and accepts or
// rejects it. Any other modal window that shows up meanwhile (a question the
// dialog asks by itself) is recorded in `stray` and closed.
std::optional<QString> runDialog(const FileDialogRequest& request,
                                 const std::function<void(QFileDialog&)>& act, QStringList& stray) {
    QTimer poll;
    poll.setInterval(10);
    bool acted = false;
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        ++ticks;
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (!acted) {
                acted = true;
                QTimer::singleShot(0, dialog, [dialog, &act] { act(*dialog); });
            } else if (ticks > 1000) {
                dialog->reject();  // the script never closed it: give up rather than hang
            }
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            stray << QString::fromLatin1(other->metaObject()->className());
            other->reject();
        }
    });
    poll.start();
    DesktopPrompts desktop;
    return desktop.fileDialog(request);
}

std::function<void(QFileDialog&)> typeAndAccept(const QString& name) {
    return [name](QFileDialog& dialog) {
        nameField(dialog)->setText(name);
        QMetaObject::invokeMethod(&dialog, "accept");  // as the Save or Open button does
    };
}

}  // namespace

class DesktopFileDialogTest : public QObject {
    Q_OBJECT
public:
    explicit DesktopFileDialogTest(QString home) : home_(std::move(home)) {}

private:
    QString home_;
    QTemporaryDir work_;

    FileDialogRequest request(FileDialogRequest::Kind kind, const QString& initial) const {
        FileDialogRequest r;
        r.kind = kind;
        r.filter = kFilter;
        r.initialFileName = initial;
        r.defaultSuffix = QStringLiteral("txt");
        return r;
    }

private slots:
    void initTestCase() {
        QVERIFY(work_.isValid());
        QVERIFY(QDir::setCurrent(work_.path()));
        writeBytes(work_.filePath("present.txt"), "text");
        QDir(work_.path()).mkdir("sub");
        QCOMPARE(everythingUnder(home_), QStringList{});
    }

    void cleanup() { QCOMPARE(everythingUnder(home_), QStringList{}); }

    void returnsTheChosenPathWithoutAskingAnything_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        const int open = int(FileDialogRequest::Kind::Open);
        const int save = int(FileDialogRequest::Kind::Save);
        QTest::newRow("open a file") << open << "present.txt" << "present.txt";
        QTest::newRow("open a missing file") << open << "missing.txt" << "missing.txt";
        QTest::newRow("save onto a file") << save << "present.txt" << "present.txt";
        QTest::newRow("save under a bare name") << save << "fresh" << "fresh.txt";
        QTest::newRow("save with another extension") << save << "notes.log" << "notes.log";
    }
    void returnsTheChosenPathWithoutAskingAnything() {
        QFETCH(int, kind);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QStringList stray;
        const auto chosen = runDialog(request(FileDialogRequest::Kind(kind), "*.txt"), typeAndAccept(typed), stray);
        QCOMPARE(stray, QStringList{});
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QDir::toNativeSeparators(work_.filePath(expected)));
        QVERIFY(!QFileInfo::exists(work_.filePath("fresh.txt")));  // a dialog creates no file
    }

    void showsThePatternOverTheCurrentFolder() {
        QString field, folder;
        QStringList filters;
        bool native = true;
        QStringList stray;
        const auto chosen = runDialog(
            request(FileDialogRequest::Kind::Open, "*.txt"),
            [&](QFileDialog& dialog) {
                field = nameField(dialog)->text();
                folder = dialog.directory().absolutePath();
                filters = dialog.nameFilters();
                native = !dialog.testOption(QFileDialog::DontUseNativeDialog);
                dialog.reject();
            },
            stray);
        QVERIFY(!chosen.has_value());
        QCOMPARE(field, QStringLiteral("*.txt"));
        QCOMPARE(folder, QDir(work_.path()).absolutePath());
        QCOMPARE(filters, QStringList{kFilter});
        QVERIFY(!native);
    }

    void opensWhereTheLastPathWas() {
        const QString last = work_.filePath("sub/old.txt");
        QString field, folder;
        QStringList stray;
        const auto chosen = runDialog(
            request(FileDialogRequest::Kind::Save, last),
            [&](QFileDialog& dialog) {
                field = nameField(dialog)->text();
                folder = dialog.directory().absolutePath();
                QMetaObject::invokeMethod(&dialog, "accept");  // as the Save or Open button does
            },
            stray);
        QCOMPARE(field, QStringLiteral("old.txt"));
        QCOMPARE(folder, QDir(work_.filePath("sub")).absolutePath());
        QVERIFY(chosen.has_value());
        QCOMPARE(*chosen, QDir::toNativeSeparators(last));
    }

    void isModalToItsOwnerAndResizable() {
        QWidget owner;
        owner.show();
        FileDialogRequest r = request(FileDialogRequest::Kind::Open, "*.txt");
        r.owner = &owner;
        QWidget* parent = nullptr;
        Qt::WindowModality modality = Qt::NonModal;
        bool grip = false;
        QStringList stray;
        runDialog(
            r,
            [&](QFileDialog& dialog) {
                parent = dialog.parentWidget();
                modality = dialog.windowModality();
                grip = dialog.isSizeGripEnabled();
                dialog.reject();
            },
            stray);
        QCOMPARE(parent, &owner);
        QCOMPARE(modality, Qt::WindowModal);
        QVERIFY(grip);
    }

    // Proves the watch above can see a trace: Qt's dialog left to itself
    // writes its history into the user's settings when destroyed.
    void aPlainQtDialogWouldLeaveATrace() {
        {
            QFileDialog plain;
            plain.setOption(QFileDialog::DontUseNativeDialog, true);
        }
        const QStringList traces = everythingUnder(home_);
        QVERIFY2(!traces.isEmpty(), "the plain dialog wrote nothing: the trace check proves nothing");
        for (const QString& name : entryNames(home_)) {
            const QString trace = QDir(home_).filePath(name);
            QFileInfo(trace).isDir() ? QDir(trace).removeRecursively() : QFile::remove(trace);
        }
    }
};

int main(int argc, char** argv) {
    // Before the application exists: Qt reads these once.
    QTemporaryDir home;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qputenv(name, QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    DesktopFileDialogTest test(home.path());
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_file_dialog_test.moc"
