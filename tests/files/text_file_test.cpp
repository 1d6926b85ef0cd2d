// Reading and replacing text files: what is read, what is refused, and that
// no failed save ever costs the old file a byte.
#include "file_test_support.h"
#include "platform/files/atomic_file_writer.h"
#include "platform/files/text_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvelin::platform::files;
using namespace orvelin::testing;

Q_DECLARE_METATYPE(ReadStatus)
Q_DECLARE_METATYPE(WriteStatus)

namespace {

std::string encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string patterned(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return bytes;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

mode_t modeOf(const QString& path) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

}  // namespace

class TextFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // Ignored, a file size limit shows as a failed write instead of a kill.
        std::signal(SIGXFSZ, SIG_IGN);
    }

    void readsRegularFilesWithinTheLimit_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qulonglong>("limit");
        QTest::addColumn<ReadStatus>("expected");
        const QByteArray raw("a\r\nb\rc\nd\0e\xff\x98", 13);
        QTest::newRow("bytes as they are") << raw << qulonglong(100) << ReadStatus::Ok;
        QTest::newRow("empty") << QByteArray() << qulonglong(100) << ReadStatus::Ok;
        QTest::newRow("exactly the limit") << raw << qulonglong(raw.size()) << ReadStatus::Ok;
        QTest::newRow("one byte over") << raw << qulonglong(raw.size() - 1) << ReadStatus::TooLarge;
        const std::string big = patterned(3 * 1024 * 1024 + 17);
        QTest::newRow("several megabytes")
            << QByteArray(big.data(), int(big.size())) << qulonglong(big.size()) << ReadStatus::Ok;
    }
    void readsRegularFilesWithinTheLimit() {
        QFETCH(QByteArray, content);
        QFETCH(qulonglong, limit);
        QFETCH(ReadStatus, expected);
        writeBytes(path("in.txt"), content.toStdString());
        std::string out = "previous";
        QCOMPARE(readRegularFile(encoded(path("in.txt")), limit, out), expected);
        QCOMPARE(out, expected == ReadStatus::Ok ? content.toStdString() : std::string("previous"));
    }

    void refusesWhatIsNotARegularFile_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("makeFifo");
        QTest::newRow("missing") << path("missing.txt") << false;
        QTest::newRow("folder") << dir_.path() << false;
        QTest::newRow("FIFO without a writer") << path("fifo") << true;
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << false;
    }
    void refusesWhatIsNotARegularFile() {
        QFETCH(QString, target);
        QFETCH(bool, makeFifo);
        if (makeFifo) QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        std::string out = "previous";
        QCOMPARE(readRegularFile(encoded(target), 1 << 20, out), ReadStatus::CannotOpen);
        QCOMPARE(out, std::string("previous"));
        if (makeFifo) QFile::remove(target);
    }

    // Files under /proc report a size of 0 and still have content: the size
    // from the system is a hint, not the truth.
    void readsPastAReportedSizeButNotPastTheLimit() {
        std::string out;
        QCOMPARE(readRegularFile("/proc/self/status", 1 << 20, out), ReadStatus::Ok);
        QVERIFY(out.find("Pid:") != std::string::npos);
        QCOMPARE(readRegularFile("/proc/self/status", 16, out), ReadStatus::TooLarge);
    }

    void accessTestsFollowTheRealUser_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("asNobody");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("writable");
        QTest::newRow("own file") << 0600 << false << true << true;
        QTest::newRow("other's private file") << 0600 << true << false << false;
        QTest::newRow("other's public file") << 0644 << true << true << false;
        QTest::newRow("other's shared file") << 0666 << true << true << true;
    }
    void accessTestsFollowTheRealUser() {
        QFETCH(int, mode);
        QFETCH(bool, asNobody);
        QFETCH(bool, readable);
        QFETCH(bool, writable);
        if (asNobody && !runningAsRoot()) QSKIP("switching the real user needs root");
        const QString file = path("access.txt");
        writeBytes(file, "x");
        QVERIFY(::chmod(QFile::encodeName(file).constData(), mode_t(mode)) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir_.path()).constData(), 0755) == 0);
        if (asNobody) {
            ScopedRealUserNobody nobody;
            QVERIFY(nobody.ok());
            QVERIFY(exists(encoded(file)));
            QCOMPARE(mayRead(encoded(file)), readable);
            QCOMPARE(mayWrite(encoded(file)), writable);
        } else {
            QVERIFY(exists(encoded(file)));
            QCOMPARE(mayRead(encoded(file)), readable);
            QCOMPARE(mayWrite(encoded(file)), writable);
        }
        QVERIFY(!exists(encoded(path("missing.txt"))));
        QVERIFY(!mayRead(encoded(path("missing.txt"))));
        QVERIFY(!mayWrite(encoded(path("missing.txt"))));
    }

    void writesANewFileWithTheUsualPermissions_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("raw bytes") << QByteArray("\r\n\0\xff\x01 end", 9);
        const std::string big = patterned(5 * 1024 * 1024 + 3);
        QTest::newRow("several megabytes") << QByteArray(big.data(), int(big.size()));
    }
    void writesANewFileWithTheUsualPermissions() {
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const QString file = folder.filePath("new.txt");
        QCOMPARE(replaceFileContents(encoded(file), content.toStdString()), WriteStatus::Ok);
        QCOMPARE(readBytes(file), content.toStdString());
        QCOMPARE(modeOf(file), mode_t(0666 & ~currentUmask()));
        QCOMPARE(entryNames(folder.path()), QStringList{"new.txt"});
    }

    void replacingKeepsThePermissions() {
        const QString file = path("kept.txt");
        writeBytes(file, std::string(10000, 'o'));
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0640) == 0);
        QCOMPARE(replaceFileContents(encoded(file), "new"), WriteStatus::Ok);
        QCOMPARE(readBytes(file), std::string("new"));
        QCOMPARE(modeOf(file), mode_t(0640));
    }

    // Written piece by piece, the old contents stay until commit() and
    // come back whole when the writer is dropped before it.
    void replacesPieceByPieceOnlyOnCommit_data() {
        QTest::addColumn<bool>("committed");
        QTest::newRow("committed") << true;
        QTest::newRow("dropped") << false;
    }
    void replacesPieceByPieceOnlyOnCommit() {
        QFETCH(bool, committed);
        QTemporaryDir folder;
        const QString file = folder.filePath("old.txt");
        writeBytes(file, "old text");
        const std::string pieces[] = {patterned(70000), "", std::string("\r\n\0 end", 7)};
        {
            AtomicFileWriter writer;
            QCOMPARE(writer.open(encoded(file)), WriteStatus::Ok);
            for (const std::string& piece : pieces) QCOMPARE(writer.write(piece), WriteStatus::Ok);
            QCOMPARE(readBytes(file), std::string("old text"));
            if (committed) QCOMPARE(writer.commit(), WriteStatus::Ok);
        }
        QCOMPARE(readBytes(file), committed ? pieces[0] + pieces[1] + pieces[2] : std::string("old text"));
        QCOMPARE(entryNames(folder.path()), QStringList{"old.txt"});
    }

    void writesThroughSymbolicLinks_data() {
        QTest::addColumn<QString>("linkText");
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("relative") << QStringLiteral("real.txt") << true;
        QTest::newRow("absolute") << QStringLiteral("ABS/real.txt") << true;
        QTest::newRow("dangling") << QStringLiteral("real.txt") << false;
        QTest::newRow("through a folder") << QStringLiteral("sub/../real.txt") << true;
    }
    void writesThroughSymbolicLinks() {
        QFETCH(QString, linkText);
        QFETCH(bool, targetExists);
        QTemporaryDir folder;
        QDir(folder.path()).mkdir("sub");
        linkText.replace("ABS", folder.path());
        const QString real = folder.filePath("real.txt");
        const QString link = folder.filePath("link.txt");
        if (targetExists) writeBytes(real, "old");
        QVERIFY(::symlink(QFile::encodeName(linkText).constData(), QFile::encodeName(link).constData()) == 0);
        QCOMPARE(replaceFileContents(encoded(link), "through"), WriteStatus::Ok);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readBytes(real), std::string("through"));
    }

    void refusesToReplaceWhatItWouldDestroy_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << QStringLiteral("fifo");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("link to a FIFO") << QStringLiteral("link");
    }
    void refusesToReplaceWhatItWouldDestroy() {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        const QString fifo = folder.filePath("fifo");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QDir(folder.path()).mkpath("folder/inside");
        ::symlink("fifo", QFile::encodeName(folder.filePath("link")).constData());
        const QStringList before = entryNames(folder.path());

        QCOMPARE(replaceFileContents(encoded(folder.filePath(kind)), "text"), WriteStatus::CannotCreate);
        QCOMPARE(entryNames(folder.path()), before);
        QVERIFY(QFileInfo(fifo).isFile() == false && QFileInfo(fifo).exists());
        QCOMPARE(entryNames(folder.filePath("folder")), QStringList{"inside"});
    }

    void refusesAnImmutableFileAndKeepsIt() {
        if (!runningAsRoot()) QSKIP("setting the immutable flag needs root");
        const QString file = path("fixed.txt");
        writeBytes(file, "old text");
        if (!setImmutable(file, true)) QSKIP("this file system has no immutable flag");
        const WriteStatus status = replaceFileContents(encoded(file), "new text");
        setImmutable(file, false);
        QCOMPARE(status, WriteStatus::CannotCreate);
        QCOMPARE(readBytes(file), std::string("old text"));
    }

    void refusesAReadOnlyMount() {
        if (!runningAsRoot()) QSKIP("mounting needs root");
        QTemporaryDir source;
        QTemporaryDir view;
        writeBytes(source.filePath("old.txt"), "old text");
        ScopedMount mount = ScopedMount::readOnlyBind(source.path(), view.path());
        if (mount.failed()) QSKIP(qPrintable(mount.error()));
        QCOMPARE(replaceFileContents(encoded(view.filePath("old.txt")), "new"), WriteStatus::CannotCreate);
        QCOMPARE(replaceFileContents(encoded(view.filePath("new.txt")), "new"), WriteStatus::CannotCreate);
        QCOMPARE(readBytes(source.filePath("old.txt")), std::string("old text"));
        QCOMPARE(entryNames(source.path()), QStringList{"old.txt"});
    }

    // The reason for writing beside the file: a full disk must not cost the
    // old text. The new text fits the space the old one holds, the old one
    // still must survive whole.
    void aFullFileSystemLeavesTheOldFileByteForByte() {
        if (!runningAsRoot()) QSKIP("mounting needs root");
        QTemporaryDir folder;
        ScopedMount mount = ScopedMount::tmpfs(folder.path(), 64);
        if (mount.failed()) QSKIP(qPrintable(mount.error()));
        const QString file = folder.filePath("old.txt");
        const std::string old = patterned(20000);
        writeBytes(file, old);
        QVERIFY(fillUp(folder.path()));

        const WriteStatus status = replaceFileContents(encoded(file), patterned(10000) + "new");
        QVERIFY(status == WriteStatus::WriteError || status == WriteStatus::CannotCreate);
        QCOMPARE(readBytes(file), old);
        QCOMPARE(entryNames(folder.path()), (QStringList{"filler", "old.txt"}));
    }

    void aFileSizeLimitHalfWayLeavesTheOldFileByteForByte() {
        const QString file = path("limited.txt");
        const std::string old = patterned(30000);
        writeBytes(file, old);
        const std::string encodedPath = encoded(file);
        const int status = inChild([&] {
            const rlimit limit{64 * 1024, 64 * 1024};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 100;
            return int(replaceFileContents(encodedPath, patterned(1024 * 1024)));
        });
        QCOMPARE(status, int(WriteStatus::WriteError));
        QCOMPARE(readBytes(file), old);
        QCOMPARE(entryNames(dir_.path()).filter(".orvelin"), QStringList{});
    }
};

QTEST_APPLESS_MAIN(TextFileTest)
#include "text_file_test.moc"
