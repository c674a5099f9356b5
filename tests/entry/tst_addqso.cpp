#include "addqsofixture.h"
#include "core/qsoline.h"
#include "entry/addqso.h"
#include "entry/entryindex.h"
#include "entry/logbackups.h"
#include "entry/workedbefore.h"
#include "log/logsession.h"
#include "scripteddialogs.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using Fixture = AddQsoFixture;

class TestAddQso : public QObject {
    Q_OBJECT
private slots:
    void emptyFieldsDoNothing() {
        Fixture f;
        const AddQsoResult r = f.add(f.form(QString(), QString()));
        QCOMPARE(r.outcome, AddQsoResult::Outcome::NothingTyped);
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(f.fileLines().isEmpty());
    }

    void missingCallsignIsRefused() {
        Fixture f;
        const AddQsoResult r = f.add(f.form(QString(), QStringLiteral("012GW")));
        QCOMPARE(r.outcome, AddQsoResult::Outcome::MissingCall);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Błąd"));
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Brak znaku stacji!"));
        QVERIFY(f.fileLines().isEmpty());
    }

    void searchPatternIsNeverLoggedNorADupe() {
        // An older file may hold a "?" where a character could not be written; typed, it is still a pattern.
        const TestQso contact = TestQso().date("2026-03-14").band("80M").mode("CW");
        Fixture f({contact.time("07:00:00").call("S?7A").srx("1"),
                   contact.time("07:02:00").mode("PH").rst("59").call("S?7A").srx("3")});
        QVERIFY(!checkWorkedBefore(f.session.log(), f.index, Band::fromName(u"80M"), Mode::cw(), u"S?7A", false).dupe);
        QCOMPARE(crossModeExchange(f.session.log(), f.index, Band::fromName(u"80M"), Mode::phone(), u"S?7A", false),
                 std::nullopt);
        const QStringList before = f.fileLines();
        QCOMPARE(f.add(f.form(QStringLiteral("S?7A"), QStringLiteral("012GW"))).outcome,
                 AddQsoResult::Outcome::PatternCall);
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Znak zawiera „?” – to wzorzec wyszukiwania, nie znak "
                                                               "stacji. Popraw znak przed zapisaniem.")});
        QCOMPARE(f.fileLines(), before);
    }

    void missingExchangeAsksAndNoKeepsTheContactOut() {
        Fixture f;
        f.dialogs.buttonAnswers.push_back(DialogButton::No);
        const AddQsoResult r = f.add(f.form(QStringLiteral("SP9ABC"), QString()));
        QCOMPARE(r.outcome, AddQsoResult::Outcome::Declined);
        QCOMPARE(f.dialogs.messages[0].title, QStringLiteral("Ostrzeżenie"));
        QCOMPARE(f.dialogs.messages[0].text,
                 QStringLiteral("Brak odebranej grupy kontrolnej !\nCzy na pewno zalogować ?"));
        QCOMPARE(f.session.log().size(), 0);
        QVERIFY(!QFile::exists(f.folder.file(QStringLiteral("log.kvr"))));
    }

    void withoutExchangeLogsAtOnceWithoutDupeCheck() {
        Fixture f({QStringLiteral("2026-03-14 080012  80M CW 599         001 SP9ABC          599      012 GW")});
        f.options.withoutExchange = true;
        const AddQsoResult r = f.add(f.form(QStringLiteral("SP9ABC"), QString()));
        QVERIFY(r.added());
        QVERIFY(f.dialogs.messages.isEmpty());
        QVERIFY(!QsoLine::isDupe(r.line));
        QCOMPARE(f.session.log().workedKeyCount(), 1);
    }

    void contactGoesToFileMemoryAndBackups() {
        Fixture f({QStringLiteral("2026-03-14 080012  80M CW 599         001 SP9ABC          599      012 GW")});
        QSignalSpy added(&f.session, &LogSession::qsoAdded);
        const AddQsoResult r = f.add(f.form(QStringLiteral("SP6XYZ"), QStringLiteral("044KD")));
        QVERIFY(r.added());
        QCOMPARE(r.line, QStringLiteral("2026-03-14 081000  80M CW 599         001 SP6XYZ          599       044KD "));
        QCOMPARE(f.fileLines().size(), 2);
        QCOMPARE(f.fileLines().last(), r.line);
        // The "~" copy is the log before this contact.
        QCOMPARE(
            f.fileLines(QStringLiteral("log.kvr~")),
            QStringList{QStringLiteral("2026-03-14 080012  80M CW 599         001 SP9ABC          599      012 GW")});
        const QStringList memory = f.session.log().lineTexts();
        QCOMPARE(f.folder.readLines(QStringLiteral("Backup_logs/temporary_1.kvr")),
                 QStringList(memory.begin(), memory.end()));
        QCOMPARE(r.row, 1);
        QCOMPARE(added.size(), 1);
        QCOMPARE(f.session.log().cwCount(), 2);
        QCOMPARE(r.stx, QStringLiteral("002"));
    }

    void secondContactWithTheStationIsMarkedDupe() {
        Fixture f;
        f.session.analysis.enabled = true;
        f.session.analysis.mode = AnalysisMode::County;
        f.session.LoadCountyList();
        const AddQsoResult first = f.add(f.form(QStringLiteral("SP9ABC"), QStringLiteral("012GW")));
        QVERIFY(first.line.endsWith(QStringLiteral(" GW")));
        const AddQsoResult second = f.add(f.form(QStringLiteral("SP9ABC"), QStringLiteral("012GW"), "08:11:00"));
        QCOMPARE(second.line.mid(73), QStringLiteral(" DUPE"));
        QCOMPARE(f.session.log().workedKeyCount(), 1);
        // Another mode is another contact.
        f.session.setMode(QStringLiteral("SSB"));
        const AddQsoResult third = f.add(f.form(QStringLiteral("SP9ABC"), QStringLiteral("012GW"), "08:12:00"));
        QVERIFY(!QsoLine::isDupe(third.line));
        QCOMPARE(f.session.log().phoneCount(), 1);
    }

    void memoryEqualsAReloadAfterAdding() {
        Fixture f;
        f.session.analysis.enabled = true;
        f.session.analysis.mode = AnalysisMode::Locator;
        f.session.operatorData.locator = QStringLiteral("JO90LN");
        f.add(f.form(QStringLiteral("SP9ABC"), QStringLiteral("001KO02MD")));
        f.add(f.form(QStringLiteral("SP9ABC"), QStringLiteral("001KO02MD"), "08:11:00"));
        f.add(f.form(QStringLiteral("OK1AB"), QStringLiteral("5JO70AA"), "08:09:00"));
        const QStringList before = f.session.log().lineTexts();
        const qint64 odx = f.session.log().odxTotal();
        QVERIFY(odx > 0);
        f.session.reload();
        QCOMPARE(f.session.log().lineTexts(), before);
        QCOMPARE(f.session.log().odxTotal(), odx);
        QCOMPARE(f.session.log().line(0).left(17), QStringLiteral("2026-03-14 080900"));
    }

    void serialAdvances_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("after");
        QTest::newRow("009 in 001 format") << "009" << 2 << "010";
        QTest::newRow("009 in 1 format") << "009" << 0 << "10";
        QTest::newRow("7 in 01 format") << "7" << 1 << "08";
        QTest::newRow("blank-padded serial is trimmed") << " 12 " << 2 << "013";
        QTest::newRow("not a number stays") << "AB" << 2 << "AB";
    }
    void serialAdvances() {
        QFETCH(QString, serial);
        QFETCH(int, format);
        QFETCH(QString, after);
        Fixture f;
        f.options.serialFormat = SerialNumber::formatFromIndex(format);
        EntryForm form = f.form(QStringLiteral("SP9ABC"), QStringLiteral("1"));
        form.stx = serial;
        QCOMPARE(f.add(form).stx, after);
    }

    void reportsResetKeepingTheirLetter() {
        Fixture f;
        EntryForm form = f.form(QStringLiteral("SP9ABC"), QStringLiteral("1"));
        form.rstSent = QStringLiteral("57");
        form.rstRcvd = QStringLiteral("55A");
        const AddQsoResult r = f.add(form);
        QCOMPARE(r.rstSent, QStringLiteral("599"));
        QCOMPARE(r.rstRcvd, QStringLiteral("59A"));
    }

    void temporaryBackupsRotateThroughNine() {
        Fixture f;
        QDir().mkpath(f.folder.file(QStringLiteral("Backup_logs")));
        for (int i = 0; i < 11; ++i) {
            const AddQsoResult r = f.add(
                f.form(QStringLiteral("SP%1AA").arg(i), QStringLiteral("1"), QStringLiteral("08:%1:00").arg(10 + i)));
            QVERIFY(r.added());
            const int written = i % 9 + 1;
            const int next = written % 9 + 1;
            QCOMPARE(f.folder.readLines(QStringLiteral("Backup_logs/") + TemporaryBackups::fileName(written)).size(),
                     i + 1);
            QVERIFY(!QFile::exists(f.backup(next)));
        }
        QCOMPARE(f.backups.number(), 3);
    }

    void missingBackupFolderRestartsTheRotationAtOne() {
        Fixture f;
        f.backups.setNumber(5);
        QVERIFY(!QFileInfo::exists(f.folder.file(QStringLiteral("Backup_logs"))));
        QVERIFY(f.add(f.form(QStringLiteral("SP1AA"), QStringLiteral("1"), QStringLiteral("08:10:00"))).added());
        QCOMPARE(f.folder.readLines(QStringLiteral("Backup_logs/temporary_1.kvr")).size(), 1);
        QVERIFY(!QFile::exists(f.backup(5)));
        QCOMPARE(f.backups.number(), 1);
        // The folder is there now: the next contact overwrites temporary_1 and the rotation goes on.
        QVERIFY(f.add(f.form(QStringLiteral("SP2AA"), QStringLiteral("1"), QStringLiteral("08:11:00"))).added());
        QCOMPARE(f.folder.readLines(QStringLiteral("Backup_logs/temporary_1.kvr")).size(), 2);
        QCOMPARE(f.backups.number(), 2);
    }

    void vhfSerialCounterFollowsTheSerial() {
        Fixture f;
        f.options.separateVhfSerials = true;
        f.session.setBand(QStringLiteral("2M"));
        EntryForm form = f.form(QStringLiteral("SP9ABC"), QStringLiteral("1KO02MD"));
        form.stx = QStringLiteral("005");
        const AddQsoResult r = f.add(form);
        QCOMPARE(f.session.log().nextVhfSerial(1), 6);
        QCOMPARE(r.stx, QStringLiteral("006"));
    }

    void failedWriteKeepsMemoryEqualToTheFile() {
        Fixture f({QStringLiteral("2026-03-14 080012  80M CW 599         001 SP9ABC          599      012 GW")});
        // A folder where the log should be: the append cannot open it.
        const QString bad = f.folder.file(QStringLiteral("gone/log.kvr"));
        f.session.setLogPath(bad);
        const AddQsoResult r = f.add(f.form(QStringLiteral("SP6XYZ"), QStringLiteral("044KD")));
        QCOMPARE(r.outcome, AddQsoResult::Outcome::WriteFailed);
        QCOMPARE(f.session.log().size(), 1);
        QCOMPARE(f.session.log().workedKeyCount(), 1);
        QCOMPARE(r.stx, QStringLiteral("001"));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.lastText().contains(bad), qPrintable(f.dialogs.lastText()));
        QVERIFY(!QFile::exists(f.backup(1)));
    }

    void offlineContactsNeverShareATime_data() {
        // The log before (date and time of each contact), the manual time kept for two offline contacts on
        // 14 March, and where the two land.
        QTest::addColumn<QStringList>("logged");
        QTest::addColumn<QString>("manual");
        QTest::addColumn<QStringList>("landed");
        QTest::newRow("seconds raised") << QStringList{} << "12:00:00"
                                        << QStringList{"2026-03-14 120000", "2026-03-14 120001"};
        QTest::newRow("59 seconds carry into the minute")
            << QStringList{} << "12:00:59" << QStringList{"2026-03-14 120059", "2026-03-14 120100"};
        QTest::newRow("end of the day carries into the date")
            << QStringList{} << "23:59:59" << QStringList{"2026-03-14 235959", "2026-03-15 000000"};
        // A paper log typed in after the contest: later contacts are already in the log.
        QTest::newRow("later contacts in the log")
            << QStringList{"2026-03-14 08:00:00", "2026-03-14 09:30:00", "2026-03-15 07:00:00"} << "08:00:00"
            << QStringList{"2026-03-14 080001", "2026-03-14 080002"};
        QTest::newRow("a run of taken seconds is stepped over")
            << QStringList{"2026-03-14 10:00:00", "2026-03-14 10:00:01", "2026-03-14 10:00:03", "2026-03-14 11:00:00"}
            << "10:00:00" << QStringList{"2026-03-14 100002", "2026-03-14 100004"};
        QTest::newRow("the same time on another day is free")
            << QStringList{"2026-03-13 12:00:00", "2026-03-15 12:00:00"} << "12:00:00"
            << QStringList{"2026-03-14 120000", "2026-03-14 120001"};
    }
    void offlineContactsNeverShareATime() {
        QFETCH(QStringList, logged);
        QFETCH(QString, manual);
        QFETCH(QStringList, landed);
        QStringList lines;
        for (const QString& stamp : logged)
            lines.append(TestQso().date(stamp.left(10)).time(stamp.mid(11)).call(QStringLiteral("SQ2X")));
        Fixture f(lines);
        EntryForm form = f.form(QStringLiteral("SP9ABC"), QStringLiteral("1"));
        form.offline = EntryClock::ManualTime{QDate(2026, 3, 14), manual};
        for (const QString& stamp : landed) {
            const AddQsoResult r = f.add(form);
            QVERIFY(r.added());
            QCOMPARE(r.line.left(17), stamp);
            QCOMPARE(f.session.log().line(r.row), r.line);
            // The window keeps the time written, so the next contact starts from it.
            QCOMPARE(r.offline->date.toString(Qt::ISODate) + QLatin1Char(' ') + QString(r.offline->time).remove(':'),
                     stamp);
            form.offline = r.offline;
            form.call = QStringLiteral("SP9XYZ");
        }
    }
};

QTEST_GUILESS_MAIN(TestAddQso)
#include "tst_addqso.moc"
