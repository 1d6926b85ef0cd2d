// The main window's Open, Save and Save as on real files: the questions and
// messages, what reaches the editor, what reaches the disk, and that a
// failure reaches the standard error box and never costs the old file.
#include "file_test_support.h"
#include "forms/Code.h"
#include "forms/Code1.h"
#include "platform/ui/application.h"
#include "platform/ui/error_box.h"
#include "support/recording_prompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <sys/stat.h>

using orvelin::platform::Answer;
using orvelin::platform::Buttons;
using orvelin::platform::FileDialogRequest;
using orvelin::platform::Icon;
using orvelin::platform::MessageBoxRequest;
using namespace orvelin::testing;

namespace {

constexpr const char* kSessionCode = "secret7";
// Enough for the start notice the window is made with, small enough to pass.
constexpr std::size_t kSmallCapacity = 1024;

QString countText(int n) { return QStringLiteral("Количество символов: %1").arg(n); }

QString standardBoxCaption() {
    return orvelin::platform::applicationTitle(QCoreApplication::applicationFilePath());
}

// Runs a command as the event loop delivers it, so a failure that escapes it
// goes to the application's standard error box as it would for a click.
void runAsEvent(const std::function<void()>& command) {
    QMetaObject::invokeMethod(qApp, command, Qt::QueuedConnection);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

QString describe(const QList<MessageBoxRequest>& messages) {
    QStringList lines;
    for (const auto& m : messages) lines << m.caption + " | " + m.text;
    return lines.join('\n');
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private:
    RecordingPrompts* prompts_ = nullptr;
    QTemporaryDir* dir_ = nullptr;

    QString path(const QString& name) const { return dir_->filePath(name); }

    // The windows as start-up makes them, with the session code accepted.
    void makeWindows(std::size_t editorCapacity = EightBitEdit::kCapacity) {
        delete Uwens;
        delete Trivor;
        Trivor = new TTrivor;
        Uwens = new TUwens(nullptr, editorCapacity);
        Trivor->MaskEdit1->setText(QString::fromLatin1(kSessionCode));
        Trivor->Button1Click();
        prompts_->clear();
    }

    void setEditorText(const std::string& bytes) {
        Uwens->SMT->setText8(bytes);
        prompts_->clear();
    }

    // The one box shown, checked whole.
    void expectOneBox(const QString& text, const QString& caption, Icon icon) {
        QVERIFY2(prompts_->messages.size() == 1, qPrintable(describe(prompts_->messages)));
        const MessageBoxRequest& box = prompts_->messages.first();
        QCOMPARE(box.text, text);
        QCOMPARE(box.caption, caption);
        QCOMPARE(box.icon, icon);
        QCOMPARE(box.buttons, Buttons::Ok);
    }

    void expectStandardErrorBox(const QString& text) { expectOneBox(text, standardBoxCaption(), Icon::Error); }

    void expectQuestion(int index, const QString& text) {
        QVERIFY2(prompts_->messages.size() > index, qPrintable(describe(prompts_->messages)));
        const MessageBoxRequest& box = prompts_->messages.at(index);
        QCOMPARE(box.text, text);
        QCOMPARE(box.caption, QStringLiteral("Информация"));
        QCOMPARE(box.icon, Icon::Question);
        QCOMPARE(box.buttons, Buttons::YesNo);
    }

    void openThroughTheMenu(const QString& chosen) {
        prompts_->answerNextFileDialog(chosen);
        runAsEvent([] { Uwens->N4->trigger(); });
    }

private slots:
    void initTestCase() {
        // Ignored, a file size limit shows as a failed write instead of a kill.
        std::signal(SIGXFSZ, SIG_IGN);
    }

    void init() {
        prompts_ = new RecordingPrompts;
        dir_ = new QTemporaryDir;
        QVERIFY(dir_->isValid());
        makeWindows();
    }

    void cleanup() {
        QCOMPARE(prompts_->unexpected, QStringList{});
        delete Uwens;
        delete Trivor;
        delete dir_;
        delete prompts_;
    }

    void openAsksBeforeDroppingTheText_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("pickFile");
        QTest::addColumn<QByteArray>("after");
        const int yes = int(Answer::Yes);
        const int no = int(Answer::No);
        QTest::newRow("No keeps the text") << QByteArray("kept") << no << false << QByteArray("kept");
        QTest::newRow("Yes, then cancel, leaves it empty") << QByteArray("gone") << yes << false << QByteArray();
        QTest::newRow("Yes, then a file, loads it") << QByteArray("gone") << yes << true << QByteArray("loaded");
        QTest::newRow("empty editor: no question") << QByteArray() << -1 << true << QByteArray("loaded");
    }
    void openAsksBeforeDroppingTheText() {
        QFETCH(QByteArray, before);
        QFETCH(int, answer);
        QFETCH(bool, pickFile);
        QFETCH(QByteArray, after);
        writeBytes(path("file.txt"), "loaded");
        setEditorText(before.toStdString());
        if (answer >= 0) prompts_->answerNextMessage(Answer(answer));
        prompts_->answerNextFileDialog(pickFile ? std::optional<QString>(path("file.txt")) : std::nullopt);

        runAsEvent([] { Uwens->N4->trigger(); });

        if (answer >= 0) expectQuestion(0, QStringLiteral("Не сохраненые данные будут потеряны!\nПродолжить?"));
        QCOMPARE(prompts_->messages.size(), answer >= 0 ? 1 : 0);
        QCOMPARE(prompts_->fileDialogs.size(), answer == int(Answer::No) ? 0 : 1);
        QCOMPARE(Uwens->SMT->text8(), after.toStdString());
        QCOMPARE(Uwens->StatusPanel0->text(), countText(after.size()));
        QCOMPARE(Uwens->CurrentFileName, pickFile && answer != int(Answer::No) ? path("file.txt") : QString());
    }

    void bothDialogsShowTextFilesAndRememberTheirLastPath() {
        writeBytes(path("a.txt"), "a");
        openThroughTheMenu(path("a.txt"));
        prompts_->answerNextFileDialog(path("b.txt"));
        runAsEvent([] { Uwens->N14->trigger(); });
        prompts_->answerNextMessage(Answer::Yes);
        openThroughTheMenu(path("a.txt"));
        prompts_->answerNextFileDialog(std::nullopt);
        runAsEvent([] { Uwens->N14->trigger(); });

        const auto& dialogs = prompts_->fileDialogs;
        QCOMPARE(dialogs.size(), 4);
        const QList<FileDialogRequest::Kind> kinds{FileDialogRequest::Kind::Open, FileDialogRequest::Kind::Save,
                                                   FileDialogRequest::Kind::Open, FileDialogRequest::Kind::Save};
        const QStringList initial{"*.txt", "*.txt", path("a.txt"), path("b.txt")};
        for (int i = 0; i < dialogs.size(); ++i) {
            QCOMPARE(dialogs[i].kind, kinds[i]);
            QCOMPARE(dialogs[i].filter, QStringLiteral("TXT - Текстовые файлы (*.txt)"));
            QCOMPARE(dialogs[i].defaultSuffix, QStringLiteral("txt"));
            QCOMPARE(dialogs[i].initialFileName, initial[i]);
            QCOMPARE(dialogs[i].owner, static_cast<QWidget*>(Uwens));
        }
    }

    void openRefusesMissingAndUnreadableFiles_data() {
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("missing") << false;
        QTest::newRow("unreadable") << true;
    }
    void openRefusesMissingAndUnreadableFiles() {
        QFETCH(bool, unreadable);
        const QString file = path(unreadable ? "secret.txt" : "нет такого.txt");
        QString expected = QStringLiteral("Файл: \"%1\" не существует.").arg(file);
        std::unique_ptr<ScopedRealUserNobody> nobody;
        if (unreadable) {
            writeBytes(file, "private");
            QVERIFY(::chmod(QFile::encodeName(file).constData(), 0) == 0);
            QVERIFY(::chmod(QFile::encodeName(dir_->path()).constData(), 0755) == 0);
            // Permission bits deny nothing to root: the access test must then
            // answer for another real user, while the test process stays root.
            if (runningAsRoot()) {
                nobody = std::make_unique<ScopedRealUserNobody>();
                QVERIFY(nobody->ok());
            }
            expected = QStringLiteral("Нет доступа для четения.");
        }
        openThroughTheMenu(file);
        nobody.reset();

        expectOneBox(expected, QStringLiteral("Ошибка"), Icon::Error);
        QCOMPARE(Uwens->CurrentFileName, QString());
        QCOMPARE(Uwens->SMT->text8(), std::string());
    }

    void openFailuresGoToTheStandardErrorBox_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder") << "folder" << "folder" << "Cannot open file %1.";
        QTest::newRow("folder whose name ends below the full stop") << "folder" << "folder-" << "Cannot open file %1";
        QTest::newRow("FIFO") << "fifo" << "fifo" << "Cannot open file %1.";
        QTest::newRow("file over the editor's capacity") << "big" << "big.txt" << "Text exceeds memo capacity.";
        QTest::newRow("lone breaks that grow past it") << "breaks" << "breaks.txt" << "Text exceeds memo capacity.";
    }
    void openFailuresGoToTheStandardErrorBox() {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, message);
        makeWindows(kSmallCapacity);
        const QString target = path(name);
        if (kind == "folder") QVERIFY(QDir(dir_->path()).mkdir(name));
        if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        if (kind == "big") writeBytes(target, std::string(kSmallCapacity + 1, 'x'));
        if (kind == "breaks") writeBytes(target, std::string(kSmallCapacity / 2 + 1, '\n'));  // doubled in the editor

        openThroughTheMenu(target);

        expectStandardErrorBox(message.contains("%1") ? message.arg(target) : message);
        QCOMPARE(Uwens->CurrentFileName, target);
        QCOMPARE(Uwens->SMT->text8(), std::string());
        QCOMPARE(Uwens->StatusPanel0->text(), countText(0));
    }

    void openShowsBytesWithCrLfBreaksUpToTheFirstZero_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("CR LF kept") << QByteArray("a\r\nb") << QByteArray("a\r\nb");
        QTest::newRow("LF only") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("CR only") << QByteArray("\ra\rb") << QByteArray("\r\na\r\nb");
        QTest::newRow("mixed") << QByteArray("a\n\r\r\n\rb") << QByteArray("a\r\n\r\n\r\n\r\nb");
        QTest::newRow("zero byte") << QByteArray("abc\0\ndef", 8) << QByteArray("abc");
        QTest::newRow("starts with zero") << QByteArray("\0abc", 4) << QByteArray();
        QTest::newRow("UTF-16 with its mark") << QByteArray("\xff\xfe" "A\0B\0", 6) << QByteArray("\xff\xfe" "A");
        QByteArray everyOtherByte;
        for (int b = 1; b < 256; ++b)
            if (b != '\r' && b != '\n') everyOtherByte.append(char(b));
        QTest::newRow("every other byte as it is") << everyOtherByte << everyOtherByte;
    }
    void openShowsBytesWithCrLfBreaksUpToTheFirstZero() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, shown);
        writeBytes(path("in.txt"), file.toStdString());
        setEditorText("");
        openThroughTheMenu(path("in.txt"));
        QCOMPARE(prompts_->messages.size(), 0);
        QCOMPARE(Uwens->SMT->text8(), shown.toStdString());
        QCOMPARE(Uwens->StatusPanel0->text(), countText(shown.size()));
        QCOMPARE(Uwens->CurrentFileName, path("in.txt"));
    }

    void saveWritesTheEditorsBytes_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("answer");  // to the replace question; -1: none asked
        QTest::addColumn<bool>("written");
        const int yes = int(Answer::Yes);
        const int no = int(Answer::No);
        QTest::newRow("Save without a current file asks for a name") << "save" << false << -1 << true;
        QTest::newRow("Save button without a current file") << "button" << false << -1 << true;
        QTest::newRow("Save as a new file") << "saveAs" << false << -1 << true;
        QTest::newRow("Save as onto a file, Yes") << "saveAs" << true << yes << true;
        QTest::newRow("Save as onto a file, No") << "saveAs" << true << no << false;
    }
    void saveWritesTheEditorsBytes() {
        QFETCH(QString, how);
        QFETCH(bool, exists);
        QFETCH(int, answer);
        QFETCH(bool, written);
        const std::string text("line\r\nzweite \xe0\xff\x98 end");
        const QString target = path("out.txt");
        if (exists) writeBytes(target, "old");
        Uwens->CurrentFileName.clear();
        setEditorText(text);
        prompts_->answerNextFileDialog(target);
        if (answer >= 0) prompts_->answerNextMessage(Answer(answer));

        runAsEvent([how] {
            if (how == "save") Uwens->N5->trigger();
            if (how == "button") Uwens->ToolButton2->click();
            if (how == "saveAs") Uwens->N14->trigger();
        });

        QCOMPARE(prompts_->fileDialogs.size(), 1);
        QCOMPARE(prompts_->fileDialogs.first().kind, FileDialogRequest::Kind::Save);
        if (answer >= 0) expectQuestion(0, QStringLiteral("Файл уже существует заменить его?"));
        QCOMPARE(prompts_->messages.size(), answer >= 0 ? 1 : 0);
        QCOMPARE(readBytes(target), written ? text : std::string("old"));
        QCOMPARE(Uwens->CurrentFileName, written ? target : QString());
    }

    void saveWritesToTheCurrentFileWithoutAsking() {
        const QString target = path("current.txt");
        writeBytes(target, "old");
        Uwens->CurrentFileName = target;
        setEditorText("");
        runAsEvent([] { Uwens->N5->trigger(); });
        QCOMPARE(prompts_->fileDialogs.size(), 0);
        QCOMPARE(prompts_->messages.size(), 0);
        QCOMPARE(readBytes(target), std::string());  // an empty editor gives an empty file
    }

    void saveRefusesACurrentFileThatCannotBeWritten_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("gone") << "gone";
        QTest::newRow("immutable") << "immutable";
        QTest::newRow("read-only mount") << "mount";
    }
    void saveRefusesACurrentFileThatCannotBeWritten() {
        QFETCH(QString, how);
        if (how != "gone" && !runningAsRoot()) QSKIP("making a file unwritable for root needs root");
        QTemporaryDir view;
        QString target = path("current.txt");
        writeBytes(target, "old");
        std::optional<ScopedMount> mount;
        if (how == "gone") QFile::remove(target);
        if (how == "immutable" && !setImmutable(target, true)) QSKIP("this file system has no immutable flag");
        if (how == "mount") {
            mount.emplace(ScopedMount::readOnlyBind(dir_->path(), view.path()));
            if (mount->failed()) QSKIP(qPrintable(mount->error()));
            target = view.filePath("current.txt");
        }
        Uwens->CurrentFileName = target;
        setEditorText("new");

        runAsEvent([] { Uwens->N5->trigger(); });
        if (how == "immutable") setImmutable(target, false);

        expectOneBox(QStringLiteral("Нет доступа для записи."), QStringLiteral("Ошибка"), Icon::Error);
        QCOMPARE(readBytes(path("current.txt")), how == "gone" ? std::string("<unreadable>") : std::string("old"));
        QCOMPARE(Uwens->CurrentFileName, target);
    }

    // The old file must survive a disk that fills up half-way, byte for byte.
    void aWriteThatFailsHalfWayKeepsTheOldFile() {
        if (!runningAsRoot()) QSKIP("mounting a small file system needs root");
        QTemporaryDir small;
        ScopedMount mount = ScopedMount::tmpfs(small.path(), 64);
        if (mount.failed()) QSKIP(qPrintable(mount.error()));
        const QString target = small.filePath("old.txt");
        std::string old(20000, '\0');
        for (std::size_t i = 0; i < old.size(); ++i) old[i] = char('a' + i % 26);
        writeBytes(target, old);
        QVERIFY(fillUp(small.path()));
        Uwens->CurrentFileName = target;
        setEditorText(std::string(30000, 'n'));

        runAsEvent([] { Uwens->N5->trigger(); });

        expectStandardErrorBox(QStringLiteral("Stream write error."));
        QCOMPARE(readBytes(target), old);
        QCOMPARE(entryNames(small.path()), (QStringList{"filler", "old.txt"}));
    }

    void saveAsWhereNoFileCanBeCreatedSaysSo() {
        if (!runningAsRoot()) QSKIP("a read-only mount needs root");
        QTemporaryDir view;
        ScopedMount mount = ScopedMount::readOnlyBind(dir_->path(), view.path());
        if (mount.failed()) QSKIP(qPrintable(mount.error()));
        const QString target = view.filePath("new.txt");
        setEditorText("text");
        prompts_->answerNextFileDialog(target);

        runAsEvent([] { Uwens->N14->trigger(); });

        expectStandardErrorBox(QStringLiteral("Cannot create file %1.").arg(target));
        QCOMPARE(Uwens->CurrentFileName, target);
        QVERIFY(!QFileInfo::exists(path("new.txt")));
    }

    void anEncodedTextSurvivesSaveAndOpenAndDecodes() {
        const std::string plain("\xcf\xf0\xe8\xe2\xe5\xf2\r\nline two\twith tab \x01\xff end");
        setEditorText(plain);
        runAsEvent([] { Uwens->N9->trigger(); });
        const std::string encoded = Uwens->SMT->text8();
        QVERIFY(encoded != plain);
        QCOMPARE(prompts_->messages.size(), 0);

        prompts_->answerNextFileDialog(path("encoded.txt"));
        runAsEvent([] { Uwens->N14->trigger(); });
        QCOMPARE(readBytes(path("encoded.txt")), encoded);

        prompts_->answerNextMessage(Answer::Yes);
        openThroughTheMenu(path("encoded.txt"));
        QCOMPARE(Uwens->SMT->text8(), encoded);
        QCOMPARE(Uwens->StatusPanel0->text(), countText(int(encoded.size())));

        runAsEvent([] { Uwens->N10->trigger(); });
        QCOMPARE(Uwens->SMT->text8(), plain);
        QCOMPARE(prompts_->messages.size(), 1);  // the Open question only
    }
};

int main(int argc, char** argv) {
    // The program's own application object: it turns escaping failures into
    // the standard error box.
    orvelin::platform::Application app(argc, argv);
    FileCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "file_commands_test.moc"
