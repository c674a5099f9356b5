#include "core/logfile.h"
#include "diskspace.h"
#include "lifecyclefixture.h"
#include "log/logbook.h"
#include "log/logloader.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

LoadResult loadInto(LogBook& log, const QString& path) {
    log.setPath(path);
    return LoadLog(log, LogContext());
}

const QString kFirst = kSicContact.time("10:00:00").call("SP1AAA");
const QString kSecond = kSicContact.time("10:05:00").call("SP2BBB");

} // namespace

class TestLogFile : public QObject {
    Q_OBJECT

private slots:
    // A log saved by an editor that dropped the last line break, or cut by a failed write, must not swallow
    // the next contact into its last line.
    void appendStartsANewLineAfterAnUnfinishedOne_data() {
        QTest::addColumn<QByteArray>("ending");
        QTest::addColumn<QByteArray>("separator");
        QTest::newRow("no line break") << QByteArray() << QByteArray("\r\n");
        QTest::newRow("CR LF") << QByteArray("\r\n") << QByteArray();
        QTest::newRow("LF alone") << QByteArray("\n") << QByteArray();
        QTest::newRow("CR alone") << QByteArray("\r") << QByteArray();
    }
    void appendStartsANewLineAfterAnUnfinishedOne() {
        QFETCH(QByteArray, ending);
        QFETCH(QByteArray, separator);
        TempProgramFolder folder;
        const QByteArray first = kFirst.toLatin1() + ending;
        const QString path = folder.writeBytes(QStringLiteral("log.kvr"), first);
        QVERIFY(LogFile(path).append({kSecond}));
        QCOMPARE(fileBytes(path), first + separator + kSecond.toLatin1() + "\r\n");
        LogBook log;
        QVERIFY(loadInto(log, path).complete());
        QCOMPARE(log.size(), 2);
        QCOMPARE(log.line(1), kSecond);
    }

    void appendCreatesAMissingLog() {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("new.kvr"));
        QVERIFY(LogFile(path).append({kFirst}));
        QCOMPARE(fileBytes(path), kFirst.toLatin1() + "\r\n");
    }

    // However little room is left, the log ends where it ended before and the reason is the system's.
    void failedAppendCutsTheLogBack() {
        for (qint64 space : {0, 1, 2, 3, 40, 76}) {
            TempProgramFolder folder;
            const QByteArray before = kFirst.toLatin1(); // no line break: the append writes one first
            const QString path = folder.writeBytes(QStringLiteral("log.kvr"), before);
            TextFile::Status status;
            {
                const DiskSpace nearlyFull(space);
                status = LogFile(path).append({kSecond});
            }
            QVERIFY(!status);
            QVERIFY2(status.error.contains(QStringLiteral("No space left on device")), qPrintable(status.error));
            QVERIFY(status.error.contains(path));
            QCOMPARE(fileBytes(path), before);
        }
    }

    void lineBreaksInsideALineNeverSplitIt() {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("log.kvr"));
        QString broken = kFirst;
        broken[44] = QLatin1Char('\r');
        broken[45] = QLatin1Char('\n');
        QVERIFY(LogFile(path).replace({broken}));
        QVERIFY(LogFile(path).append({broken}));
        const QByteArray bytes = fileBytes(path);
        QCOMPARE(bytes.count('\n'), 2);
        QCOMPARE(bytes.count('\r'), 2);
        LogBook log;
        QVERIFY(loadInto(log, path).complete());
        QCOMPARE(log.size(), 2);
    }

    void replaceKeepsTheOldLogAsTheTildeCopy() {
        TempProgramFolder folder;
        const QString path = folder.writeLines(QStringLiteral("log.kvr"), {kFirst});
        QVERIFY(LogFile(path).replace({kFirst, kSecond}));
        QCOMPARE(folder.readLines(QStringLiteral("log.kvr~")), QStringList{kFirst});
        QCOMPARE(folder.readLines(QStringLiteral("log.kvr")), (QStringList{kFirst, kSecond}));
    }

    // A rewrite that fails part-way leaves both the log and its "~" copy as they were: the buffered write
    // that commit() did not check used to put an empty file in place of the log.
    void failedReplaceLeavesLogAndTildeCopy() {
        QStringList many;
        for (int i = 0; i < 2000; ++i)
            many.append(kSecond);
        for (qint64 space : {0, 100, 5000, 100'000}) {
            TempProgramFolder folder;
            const QString path = folder.writeLines(QStringLiteral("log.kvr"), {kFirst});
            folder.writeLines(QStringLiteral("log.kvr~"), {QStringLiteral("older")});
            const QByteArray log = fileBytes(path);
            const QByteArray tilde = fileBytes(path + QLatin1Char('~'));
            TextFile::Status status;
            {
                const DiskSpace nearlyFull(space);
                status = LogFile(path).replace(many);
            }
            QVERIFY(!status);
            QVERIFY(status.error.contains(QStringLiteral("No space left on device")));
            QCOMPARE(fileBytes(path), log);
            // Where the small "~" copy still fitted, it was written and holds the log.
            QCOMPARE(fileBytes(path + QLatin1Char('~')), space >= log.size() ? log : tilde);
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 3); // no temporary left behind
        }
    }

    void backupNamesNeverCollide() {
        TempProgramFolder folder;
        const QStringList pair{QStringLiteral(".txt"), QStringLiteral(".txt~")};
        QCOMPARE(LogFile::freeBackupBase(folder.path(), QStringLiteral("log_1"), pair), folder.file("log_1"));
        folder.writeBytes(QStringLiteral("log_1.txt~"), "x");
        QCOMPARE(LogFile::freeBackupBase(folder.path(), QStringLiteral("log_1"), pair), folder.file("log_1_2"));
        folder.writeBytes(QStringLiteral("log_1_2.txt"), "x");
        QCOMPARE(LogFile::freeBackupBase(folder.path(), QStringLiteral("log_1"), pair), folder.file("log_1_3"));
    }

    // Only a temporary of our own rewrites goes, and only once it is old enough that no writer is at work on it;
    // every name an operator may give a file of his survives, however much it looks like a temporary.
    void leftoverTemporariesGoButNothingElse_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("old");
        QTest::addColumn<bool>("removed");
        QTest::newRow("killed rewrite of the log") << "log.kvr.kvrtmp-Ab12Cd" << true << true;
        QTest::newRow("killed rewrite of the settings") << "kvr_log.ini.kvrtmp-QwErTy" << true << true;
        QTest::newRow("killed backup") << "Backup_logs/t.kvr.kvrtmp-aaaaaa" << true << true;
        QTest::newRow("left by a write check") << ".write-check.kvrtmp-x9Y8z7" << true << true;
        QTest::newRow("a rewrite at work") << "fresh.kvr.kvrtmp-Zz9Zz9" << false << false;
        QTest::newRow("the log") << "log.kvr" << true << false;
        QTest::newRow("the previous copy") << "log.kvr~" << true << false;
        QTest::newRow("operator's backup in capitals") << "log.kvr.BACKUP" << true << false;
        QTest::newRow("operator's dated copy") << "contest.kvr.200101" << true << false;
        QTest::newRow("operator's notes backup") << "notes.txt.backup" << true << false;
        QTest::newRow("operator's settings copy") << "kvr_log.ini.before" << true << false;
        QTest::newRow("six letters after the log") << "log.kvr.Ab12Cd" << true << false;
        QTest::newRow("five after the marker") << "log.kvr.kvrtmp-Ab12C" << true << false;
        QTest::newRow("more after the marker") << "log.kvr.kvrtmp-Ab12Cd.txt" << true << false;
        QTest::newRow("only the marker") << ".kvrtmp-Ab12Cd" << true << false;
    }

    void leftoverTemporariesGoButNothingElse() {
        QFETCH(QString, name);
        QFETCH(bool, old);
        QFETCH(bool, removed);
        TempProgramFolder folder;
        QDir(folder.path()).mkpath(QStringLiteral("Backup_logs"));
        folder.writeBytes(name, "x");
        if (old) {
            QFile file(folder.file(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-120), QFileDevice::FileModificationTime));
        }
        // The same folder named twice is cleaned once.
        QCOMPARE(LogFile::removeLeftoverTemporaries(
                     {folder.path(), folder.file(QStringLiteral("Backup_logs")), folder.path() + QStringLiteral("/.")}),
                 removed ? 1 : 0);
        QCOMPARE(QFile::exists(folder.file(name)), !removed);
    }

    // A rewrite leaves no temporary behind, whether it succeeds or the disk is full, and keeps the file's rights.
    void aRewriteLeavesOnlyTheFile() {
        TempProgramFolder folder;
        const QString path = folder.writeBytes(QStringLiteral("log.kvr"), "old\r\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(LogFile(path).rewrite({kFirst, kSecond}));
        QCOMPARE(fileBytes(path), (kFirst + "\r\n" + kSecond + "\r\n").toLatin1());
        QCOMPARE(QFile::permissions(path),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
        {
            DiskSpace full(10);
            QVERIFY(!LogFile(path).rewrite({kFirst}));
        }
        QCOMPARE(fileBytes(path), (kFirst + "\r\n" + kSecond + "\r\n").toLatin1());
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{QStringLiteral("log.kvr"), QStringLiteral("powiaty.txt")}));
    }

    void aBadLineIsShownWithItsControlCharactersVisible() {
        TempProgramFolder folder;
        QByteArray bad("2024-06-01 100000  XX CW 599");
        bad.append('\0');
        bad.append("\x1b tail");
        LogBook log;
        const LoadResult result = loadInto(log, folder.writeBytes(QStringLiteral("log.kvr"), bad + "\r\n"));
        QCOMPARE(result.status, LoadResult::Status::FormatError);
        QVERIFY2(result.message.contains(QStringLiteral("599^@^[ tail\n")), qPrintable(result.message));
        QVERIFY(!result.message.contains(QChar(0)));
    }
};

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
