#include "platform/ui/prompts.h"
#include "support/recording_prompts.h"

#include <QTest>

using namespace orvelin::platform;
using orvelin::testing::RecordingPrompts;

class TestPrompts : public QObject {
    Q_OBJECT
private slots:
    void fileDialogGetsQtFilterAndSuffix_data();
    void fileDialogGetsQtFilterAndSuffix();
    void chosenPathBecomesNextInitialName();
    void cancelOrEmptyAnswerKeepsFileName_data();
    void cancelOrEmptyAnswerKeepsFileName();
    void innermostInstalledPromptsAnswerUntilTheyGo();
};

void TestPrompts::fileDialogGetsQtFilterAndSuffix_data() {
    QTest::addColumn<QString>("formFilter");
    QTest::addColumn<QString>("defaultExt");
    QTest::addColumn<QString>("qtFilter");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("the program's text filter")
        << QString::fromUtf8("TXT - Текстовые файлы|*.txt") << "*.txt"
        << QString::fromUtf8("TXT - Текстовые файлы (*.txt)") << "txt";
    QTest::newRow("two pairs") << "Text|*.txt|All|*.*" << "txt" << "Text (*.txt);;All (*.*)" << "txt";
    QTest::newRow("several patterns in one pair") << "Logs|*.log;*.txt" << ".log" << "Logs (*.log *.txt)"
                                                  << "log";
    QTest::newRow("description without a pattern") << "Anything" << "" << "Anything (*)" << "";
    QTest::newRow("trailing separator") << "Text|*.txt|" << "*.txt" << "Text (*.txt)" << "txt";
    QTest::newRow("no filter") << "" << "" << "" << "";
}

void TestPrompts::fileDialogGetsQtFilterAndSuffix() {
    QFETCH(QString, formFilter);
    QFETCH(QString, defaultExt);
    QFETCH(QString, qtFilter);
    QFETCH(QString, suffix);
    RecordingPrompts prompts;
    prompts.answerNextFileDialog(std::nullopt);
    FileDialog dialog(FileDialogRequest::Kind::Save);
    dialog.Filter = formFilter;
    dialog.DefaultExt = defaultExt;
    dialog.FileName = "*.txt";

    dialog.Execute(nullptr);

    QCOMPARE(prompts.fileDialogs.size(), 1);
    const FileDialogRequest& request = prompts.fileDialogs.first();
    QCOMPARE(request.filter, qtFilter);
    QCOMPARE(request.defaultSuffix, suffix);
    QCOMPARE(request.initialFileName, QString("*.txt"));
    QCOMPARE(request.kind, FileDialogRequest::Kind::Save);
}

void TestPrompts::chosenPathBecomesNextInitialName() {
    RecordingPrompts prompts;
    const QString chosen = QString::fromUtf8("/home/u/письмо.txt");
    prompts.answerNextFileDialog(chosen);
    prompts.answerNextFileDialog(std::nullopt);
    FileDialog dialog(FileDialogRequest::Kind::Open);
    dialog.FileName = "*.txt";

    QVERIFY(dialog.Execute(nullptr));
    QCOMPARE(dialog.FileName, chosen);
    QVERIFY(!dialog.Execute(nullptr));

    QCOMPARE(prompts.fileDialogs.size(), 2);
    QCOMPARE(prompts.fileDialogs.at(0).kind, FileDialogRequest::Kind::Open);
    QCOMPARE(prompts.fileDialogs.at(1).initialFileName, chosen);
}

void TestPrompts::cancelOrEmptyAnswerKeepsFileName_data() {
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::newRow("cancel") << std::optional<QString>();
    QTest::newRow("empty path") << std::optional<QString>(QString());
}

void TestPrompts::cancelOrEmptyAnswerKeepsFileName() {
    QFETCH(std::optional<QString>, answer);
    RecordingPrompts prompts;
    prompts.answerNextFileDialog(answer);
    FileDialog dialog(FileDialogRequest::Kind::Open);
    dialog.FileName = "/tmp/last.txt";

    QVERIFY(!dialog.Execute(nullptr));
    QCOMPARE(dialog.FileName, QString("/tmp/last.txt"));
}

void TestPrompts::innermostInstalledPromptsAnswerUntilTheyGo() {
    RecordingPrompts outer;
    {
        RecordingPrompts inner;
        inner.answerNextMessage(Answer::Yes);
        QCOMPARE(showMessage("Replace?", "Info", Icon::Question, Buttons::YesNo, nullptr), Answer::Yes);
        beep();
        QCOMPARE(inner.messages.size(), 1);
        QCOMPARE(inner.messages.first().icon, Icon::Question);
        QCOMPARE(inner.messages.first().buttons, Buttons::YesNo);
        QCOMPARE(inner.beeps, 1);
    }
    QCOMPARE(outer.messages.size(), 0);
    showMessage("Done", "Information", Icon::Information, Buttons::Ok, nullptr);
    beep();
    QCOMPARE(outer.messages.size(), 1);
    QCOMPARE(outer.messages.first().text, QString("Done"));
    QCOMPARE(outer.beeps, 1);
}

QTEST_APPLESS_MAIN(TestPrompts)
#include "tst_prompts.moc"
