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

    void leftoverTemporariesGoButNothingElse() {
        TempProgramFolder folder;
        QDir(folder.path()).mkpath(QStringLiteral("Backup_logs"));
        const QStringList leftovers{QStringLiteral("log.kvr.Ab12Cd"), QStringLiteral("log.kvr~.x9Y8z7"),
                                    QStringLiteral("kvr_log.ini.QwErTy"), QStringLiteral("Backup_logs/t.kvr.aaaaaa")};
        const QStringList kept{QStringLiteral("log.kvr"), QStringLiteral("notes.doc.Ab12Cd"),
                               QStringLiteral("log.kvr.backup1"), QStringLiteral("fresh.kvr.Zz9Zz9")};
        const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-120);
        for (const QString& name : leftovers + kept) {
            folder.writeBytes(name, "x");
            if (name != QLatin1String("fresh.kvr.Zz9Zz9")) {
                QFile file(folder.file(name));
                QVERIFY(file.open(QIODevice::ReadWrite));
                QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
            }
        }
        QCOMPARE(LogFile::removeLeftoverTemporaries(
                     {folder.path(), folder.file(QStringLiteral("Backup_logs")), folder.path() + QStringLiteral("/.")}),
                 4);
        for (const QString& name : leftovers)
            QVERIFY2(!QFile::exists(folder.file(name)), qPrintable(name));
        for (const QString& name : kept)
            QVERIFY2(QFile::exists(folder.file(name)), qPrintable(name));
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
