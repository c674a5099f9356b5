#include "addqsofixture.h"
#include "core/loglock.h"
#include "core/qsoline.h"
#include "entry/entrystartup.h"
#include "log/logedit.h"
#include "platform/programfolder.h"
#include "settings/inifile.h"
#include "testqso.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <memory>
#include <vector>

namespace {

const TestQso kContact = TestQso().date("2026-03-14").band("80M").stx("001");
const QString kFirst = kContact.time("07:00:00").call("SP9ABC").srx("GW");
const QString kSecond = kContact.time("07:01:00").call("SQ2X").srx("KD");

// Another program appending a contact to the log without taking its lock.
void appendBehindTheSession(const QString& path, const QString& line) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write((line + QStringLiteral("\r\n")).toLatin1());
}

// kvrlog-cli with these arguments on the program folder, started and left running.
std::unique_ptr<QProcess> startCli(const QString& home, const QStringList& args, int lockWaitMs = 5000) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KVRLOG_LOCK_WAIT_MS"), QString::number(lockWaitMs));
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(KVR_BIN_DIR "/kvrlog-cli"), QStringList{QStringLiteral("--home"), home} + args);
    return process;
}

} // namespace

class TestLogWriters : public QObject {
    Q_OBJECT
private slots:
    // A log that stopped loading at a bad line takes no contact: one appended after the bad line would be in the
    // file but never in any window again. The refusal is told in a box once; a log that loads takes contacts.
    void aLogThatFailedToLoadTakesNoContact() {
        AddQsoFixture f;
        const QString broken =
            f.folder.writeBytes(QStringLiteral("broken.kvr"), (kFirst + QStringLiteral("\r\ngarbage\r\n")).toLatin1());
        const QByteArray before = fileBytes(broken);
        f.session.setLogPath(broken);
        f.session.reload();
        for (const bool told : {true, false}) {
            const AddQsoResult r = f.add(f.form(QStringLiteral("SP6XYZ"), QStringLiteral("044")));
            QCOMPARE(r.outcome, AddQsoResult::Outcome::Refused);
            QCOMPARE(r.refusalShown, told);
        }
        QCOMPARE(f.dialogs.messages.size(), 2); // the load's own message and one refusal
        QVERIFY(f.dialogs.lastText().contains(QStringLiteral("„Nowy log”")));
        QCOMPARE(fileBytes(broken), before);
        QVERIFY(!QFile::exists(broken + QLatin1Char('~')));

        f.session.setLogPath(f.folder.writeLines(QStringLiteral("good.kvr"), {kFirst}));
        f.session.reload();
        QVERIFY(f.add(f.form(QStringLiteral("SP6XYZ"), QStringLiteral("044"))).added());
    }

    // Another program changed the file since it was read. A delete (a rewrite from memory) is refused once and the
    // file read again, so the other contact is never erased; an append reads the file first, so its dupe check
    // sees the other contact.
    void aLogChangedOnDiskIsReadBeforeAnyWrite() {
        AddQsoFixture f({kFirst});
        appendBehindTheSession(f.session.logPath(), kSecond);
        f.dialogs.buttonAnswers.push_back(DialogButton::Yes);
        QVERIFY(!LogEdit::DeleteQso(f.session, 0).deleted);
        QCOMPARE(f.dialogs.lastText(), LogEdit::changedOnDiskMessage());
        f.dialogs.buttonAnswers.push_back(DialogButton::Yes);
        QVERIFY(LogEdit::DeleteQso(f.session, 0).deleted);
        QCOMPARE(f.fileLines(), QStringList{kSecond});

        appendBehindTheSession(f.session.logPath(), kFirst);
        const AddQsoResult r = f.add(f.form(QStringLiteral("SP9ABC"), QStringLiteral("GW")));
        QVERIFY2(r.added() && QsoLine::isDupe(r.line), qPrintable(r.line));
        QCOMPARE(f.fileLines().size(), 3);
        QCOMPARE(f.session.log().size(), 3);
    }

    // Two sessions on one log, as two windows (or the window and kvrlog-cli) would be: only the one holding the
    // lock writes; the other is told who holds it, and writes once the lock is free.
    void onlyTheHolderOfTheLockWrites() {
        AddQsoFixture holder({kFirst}, 0);
        QVERIFY(!holder.session.writeRefusal());
        ScriptedDialogs dialogs;
        TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 0))};
        LogSession other(ProgramFolder(holder.folder.path()), dialogs, clock);
        other.holdLogLock(0);
        other.setLogPath(holder.session.logPath());
        other.reload();
        const std::optional<QString> refusal = other.writeRefusal();
        QVERIFY(refusal);
        QVERIFY2(refusal->contains(QStringLiteral("PID %1").arg(QCoreApplication::applicationPid())),
                 qPrintable(*refusal));

        holder.session.setLogPath(holder.folder.file(QStringLiteral("other.kvr")));
        QVERIFY(!other.writeRefusal());
    }

    // Only a lock that truly exists elsewhere makes a second copy; a folder where no lock can be made is named
    // with the system's reason, and the copy works as the first one.
    void theProgramFolderLockTellsItsRealFault() {
        TempProgramFolder folder;
        const ProgramFolder program(folder.path());
        SingleInstance first(program);
        SingleInstance second(program);
        QVERIFY(first.isFirst() && !second.isFirst() && second.folderProblem().isEmpty());

        // A program folder that is a file: nothing can be created in it, whoever the user is.
        const ProgramFolder unusable(folder.writeBytes(QStringLiteral("not-a-folder"), "x"));
        SingleInstance blocked(unusable);
        QVERIFY(blocked.isFirst());
        QVERIFY(!blocked.folderProblem().isEmpty());
        ScriptedDialogs dialogs;
        const IniFile settings(unusable.settingsFile());
        const EntryStartup::LogChoice choice =
            EntryStartup::chooseLog(unusable, settings, blocked.isFirst(), QDateTime(QDate(2026, 3, 14), QTime(8, 0)),
                                    dialogs, blocked.folderProblem());
        QVERIFY(!choice.secondCopy);
        QCOMPARE(dialogs.texts(),
                 QStringList{EntryStartup::folderNotWritableMessage(unusable.path(), blocked.folderProblem())});
    }

    // Many kvrlog-cli add at once on one log: every contact is kept, and no serial is given twice.
    void concurrentCommandLineAddsLoseNothing() {
        TempProgramFolder folder;
        folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nAutonumber=1\r\nSTX=001\r\n");
        std::vector<std::unique_ptr<QProcess>> running;
        constexpr int kWriters = 12;
        for (int i = 0; i < kWriters; ++i)
            running.push_back(startCli(folder.path(), {QStringLiteral("add"), QStringLiteral("--call"),
                                                       QStringLiteral("SP%1AA").arg(i), QStringLiteral("--srx"),
                                                       QStringLiteral("599")}));
        for (const auto& process : running) {
            QVERIFY(process->waitForFinished(60000));
            QVERIFY2(process->exitCode() == 0, process->readAllStandardError().constData());
        }
        const QStringList lines = folder.readLines(QStringLiteral("log.kvr"));
        QCOMPARE(lines.size(), kWriters);
        QSet<QString> serials;
        for (const QString& line : lines)
            serials.insert(Qso::fromLine(line)->stx);
        QCOMPARE(serials.size(), kWriters);
    }

    // The window holds its log: a writing command waits a moment, then refuses without touching the log.
    void theCommandLineIsRefusedWhileTheWindowHoldsTheLog_data() {
        QTest::addColumn<QStringList>("command");
        QTest::newRow("add") << QStringList{QStringLiteral("add"), QStringLiteral("--call"), QStringLiteral("SP6XYZ"),
                                            QStringLiteral("--srx"), QStringLiteral("044")};
        QTest::newRow("import cabrillo") << QStringList{
            QStringLiteral("import"), QStringLiteral("cabrillo"),
            testDataFile(QStringLiteral("cabrillo_several_blanks_crlf.cbr"))};
        QTest::newRow("import adif") << QStringList{QStringLiteral("import"), QStringLiteral("adif"),
                                                    testDataFile(QStringLiteral("adif_multiline_records.adi"))};
    }
    void theCommandLineIsRefusedWhileTheWindowHoldsTheLog() {
        QFETCH(QStringList, command);
        AddQsoFixture window({kFirst}, 0);
        const QMap<QString, QByteArray> before = folderContents(window.folder.path());
        const std::unique_ptr<QProcess> cli = startCli(window.folder.path(), command, 50);
        QVERIFY(cli->waitForFinished(60000));
        QCOMPARE(cli->exitCode(), 1);
        const QString error = QString::fromUtf8(cli->readAllStandardError());
        QVERIFY2(error.contains(QStringLiteral("jest otwarty w innym programie")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("PID %1").arg(QCoreApplication::applicationPid())), qPrintable(error));
        // Not a byte of the folder changed: no log line, no backup, no serial.
        QCOMPARE(folderContents(window.folder.path()), before);
    }
};

QTEST_GUILESS_MAIN(TestLogWriters)
#include "tst_logwriters.moc"
