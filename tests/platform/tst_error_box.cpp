#include "platform/ui/error_box.h"

#include <QTest>

using namespace orvelin::platform;

class TestErrorBox : public QObject {
    Q_OBJECT
private slots:
    void fullStopFollowsCharactersAfterIt_data();
    void fullStopFollowsCharactersAfterIt();
    void titleComesFromExecutableName_data();
    void titleComesFromExecutableName();
    void platformErrorKeepsNonAsciiMessage();
};

void TestErrorBox::fullStopFollowsCharactersAfterIt_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty stays empty") << QString() << QString();
    QTest::newRow("ending in a full stop") << "Stream write error." << "Stream write error.";
    QTest::newRow("ending in a letter") << "Stream write error" << "Stream write error.";
    QTest::newRow("ending in a space (below '.')") << "Cannot open file " << "Cannot open file ";
    QTest::newRow("ending in '-' (0x2D)") << "Cannot open file a-" << "Cannot open file a-";
    QTest::newRow("ending in ',' (0x2C)") << "a," << "a,";
    QTest::newRow("ending in '/' (0x2F)") << "Cannot create file /tmp/" << "Cannot create file /tmp/.";
    QTest::newRow("ending in a digit") << "Cannot open file /tmp/1" << "Cannot open file /tmp/1.";
    QTest::newRow("ending in Cyrillic") << QString::fromUtf8("Ошибка") << QString::fromUtf8("Ошибка.");
}

void TestErrorBox::fullStopFollowsCharactersAfterIt() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(standardErrorText(message), shown);
}

void TestErrorBox::titleComesFromExecutableName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("upper case with extension") << "/usr/bin/ORVELIN.EXE" << "Orvelin";
    QTest::newRow("lower case, no extension") << "/usr/bin/orvelin" << "orvelin";
    QTest::newRow("cut at the first full stop") << "/opt/my.app.bin" << "my";
    QTest::newRow("full stop in a folder only") << "/home/u/build.d/PROG" << "Prog";
    QTest::newRow("name that starts with a full stop") << "/tmp/.hidden" << "";
    QTest::newRow("bare name") << "tool" << "tool";
    QTest::newRow("empty path") << "" << "";
    QTest::newRow("Cyrillic name") << QString::fromUtf8("/bin/ПРОГРАММА.exe") << QString::fromUtf8("Программа");
}

void TestErrorBox::titleComesFromExecutableName() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(applicationTitle(path), title);
}

void TestErrorBox::platformErrorKeepsNonAsciiMessage() {
    const QString message = QString::fromUtf8("Файл: \"/tmp/данные.txt\"");
    const PlatformError error(message);
    QCOMPARE(error.message(), message);
    QCOMPARE(QByteArray(error.what()), message.toUtf8());
}

QTEST_APPLESS_MAIN(TestErrorBox)
#include "tst_error_box.moc"
