#include "entry/entrystartup.h"
#include "entry/logbackups.h"
#include "log/logsession.h"
#include "platform/programfolder.h"
#include "scripteddialogs.h"
#include "settings/inifile.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

const QDateTime kShown(QDate(2026, 3, 14), QTime(8, 5, 9));

} // namespace

class TestEntryStartup : public QObject {
    Q_OBJECT
private slots:
    void firstStartWithoutSettingsUsesLogKvr() {
        TempProgramFolder folder;
        const ProgramFolder program(folder.path());
        ScriptedDialogs dialogs;
        const IniFile settings(program.settingsFile());
        const EntryStartup::LogChoice choice = EntryStartup::chooseLog(program, settings, true, kShown, dialogs);
        QCOMPARE(choice.logPath, program.file(QStringLiteral("log.kvr")));
        QVERIFY(!choice.secondCopy);
        QCOMPARE(choice.temporaryBackupNumber, 1);
        // No log yet: no start-up backup, but the folder for the temporary ones is there.
        QVERIFY(QDir(program.backupFolder()).isEmpty());
        QVERIFY(dialogs.messages.isEmpty());

        TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 0))};
        LogSession session(program, dialogs, clock);
        session.setLogPath(choice.logPath);
        EntryOptions options;
        EntryStartup::loadSession(session, settings, options);
        QVERIFY(QFile::exists(choice.logPath));
        QCOMPARE(QFileInfo(choice.logPath).size(), 0);
    }

    void serialFollowsTheLogUntilTheSettingsHoldOne_data() {
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("serial");
        QTest::addColumn<QString>("fixedPart");
        const QStringList logged = {TestQso().time("08:00:00").stx("001"), TestQso().time("08:01:00").stx("006")};
        QTest::newRow("fresh folder") << QStringList() << QByteArray() << "001"
                                      << "";
        QTest::newRow("log without saved serial") << logged << QByteArray() << "007"
                                                  << "";
        QTest::newRow("one-digit format") << QStringList() << QByteArray("[Klucz CW]\r\nFormat=0\r\n") << "1"
                                          << "";
        QTest::newRow("saved serial and fixed part win")
            << logged << QByteArray("[Program]\r\nSTX=012\r\nGrupa=KO02MD\r\nAutonumber=0\r\n") << "012"
            << "KO02MD";
        QTest::newRow("saved serial behind the log catches up")
            << logged << QByteArray("[Program]\r\nSTX=003\r\n") << "007"
            << "";
    }
    void serialFollowsTheLogUntilTheSettingsHoldOne() {
        QFETCH(QStringList, log);
        QFETCH(QByteArray, settings);
        QFETCH(QString, serial);
        QFETCH(QString, fixedPart);
        TempProgramFolder folder;
        const ProgramFolder program(folder.path());
        if (!settings.isEmpty())
            folder.writeBytes(QStringLiteral("kvr_log.ini"), settings);
        ScriptedDialogs dialogs;
        TestClock clock{QDateTime(QDate(2026, 3, 14), QTime(8, 0, 0))};
        LogSession session(program, dialogs, clock);
        session.setLogPath(folder.writeLines(QStringLiteral("log.kvr"), log));
        EntryOptions options;
        EntryStartup::loadSession(session, IniFile(program.settingsFile()), options);
        QCOMPARE(options.stx, serial);
        QCOMPARE(options.stxFixed, fixedPart);
    }

    void startupBackupsCopyTheLogAndItsTildeCopy() {
        TempProgramFolder folder;
        const ProgramFolder program(folder.path());
        const QString log = folder.writeLines(QStringLiteral("zawody.kvr"), {QStringLiteral("line one")});
        folder.writeLines(QStringLiteral("zawody.kvr~"), {QStringLiteral("line zero")});
        IniFile settings(program.settingsFile());
        settings.writeString(QStringLiteral("Program"), QStringLiteral("Log"), log);
        ScriptedDialogs dialogs;
        const EntryStartup::LogChoice choice = EntryStartup::chooseLog(program, settings, true, kShown, dialogs);
        QCOMPARE(choice.logPath, log);
        QCOMPARE(folder.readLines(QStringLiteral("Backup_logs/zawody_20260314_080509.txt")),
                 QStringList{QStringLiteral("line one")});
        QCOMPARE(folder.readLines(QStringLiteral("Backup_logs/zawody_20260314_080509.txt~")),
                 QStringList{QStringLiteral("line zero")});
    }

    void temporaryBackupNumberIsTheFirstFreeOne() {
        TempProgramFolder folder;
        const ProgramFolder program(folder.path());
        QDir().mkpath(program.backupFolder());
        for (int n : {1, 2, 4})
            folder.writeLines(QStringLiteral("Backup_logs/") + TemporaryBackups::fileName(n), {QStringLiteral("x")});
        QCOMPARE(TemporaryBackups::firstFreeNumber(program), 3);
        for (int n = 1; n <= 9; ++n)
            folder.writeLines(QStringLiteral("Backup_logs/") + TemporaryBackups::fileName(n), {QStringLiteral("x")});
        QCOMPARE(TemporaryBackups::firstFreeNumber(program), 1);
    }

    void secondCopyGetsALogOfItsOwn() {
        TempProgramFolder folder;
        const ProgramFolder program(folder.path());
        SingleInstance first(program);
        SingleInstance second(program);
        QVERIFY(first.isFirst());
        QVERIFY(!second.isFirst());

        folder.writeLines(QStringLiteral("log1.kvr"), {QStringLiteral("2026-03-14 080000  20M CW 599 1 SP9ABC 599 1")});
        folder.writeBytes(QStringLiteral("log2.kvr"), "short");
        ScriptedDialogs dialogs;
        const IniFile settings(program.settingsFile());
        const EntryStartup::LogChoice choice = EntryStartup::chooseLog(program, settings, false, kShown, dialogs);
        QCOMPARE(choice.logPath, program.file(QStringLiteral("log2.kvr")));
        QCOMPARE(choice.temporaryBackupNumber, 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Informacja"));
        QCOMPARE(
            dialogs.messages[0].text,
            QStringLiteral("Program KVR_Log jest juz uruchomiony !\n\nPonieważ nie jest możliwe ponowne "
                           "otworzenie \ntego samego logu, program utworzył automatycznie\nnowy log o nazwie:\n\n") +
                program.file(QStringLiteral("log2.kvr")) +
                QStringLiteral("\n\nSkorzystaj z funkcji ZAPISZ LOG JAKO.. w celu zmiany \nnazwy logu. Przy "
                               "ponownym uruchomieniu programu\nautomatycznie zostanie otwarty log, który został "
                               "\nzamknięty jako ostatni."));
    }

    void lockIsFreedWhenTheFirstCopyEnds() {
        TempProgramFolder folder;
        const ProgramFolder program(folder.path());
        {
            SingleInstance first(program);
            QVERIFY(first.isFirst());
        }
        SingleInstance next(program);
        QVERIFY(next.isFirst());
    }

    void countyListCheck() {
        TempProgramFolder without(false);
        QVERIFY(!EntryStartup::countyListPresent(ProgramFolder(without.path())));
        TempProgramFolder with;
        QVERIFY(EntryStartup::countyListPresent(ProgramFolder(with.path())));
    }
};

QTEST_GUILESS_MAIN(TestEntryStartup)
#include "tst_entrystartup.moc"
