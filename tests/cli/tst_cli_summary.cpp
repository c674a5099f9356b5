#include "settings/inifile.h"
#include "testqso.h"
#include "testsupport.h"

#include <QDir>
#include <QTest>

class TestCliSummary : public QObject {
    Q_OBJECT

private slots:
    void summaryOfTheStartupLogWithSettingsFromTheProgramFolder() {
        TempProgramFolder folder;
        const QString log =
            folder.writeLines(QStringLiteral("zawody.kvr"),
                              {TestQso().time("10:00:00").band("80M").call("SP1A").srx("GW"),
                               TestQso().time("10:01:00").band("80M").mode("PH").call("SP1B").srx("KD"),
                               TestQso().time("10:02:00").band("80M").call("SP1A").srx("GW"),
                               TestQso().time("10:03:00").band("2M").call("SP1C").stx("007 JO91RU").srx("KO02AA")});
        {
            IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
            ini.writeString("Program", "Log", log);
            ini.writeString("Analiza grupy", "Opcja", "Powiat");
            ini.writeString("Analiza grupy", "Analiza", "1");
        }
        CliRun run = runCli(folder.path(), {QStringLiteral("summary")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines().value(0),
                 QStringLiteral("Log ") + log + QStringLiteral("          QSO:      4       CW:    3       SSB:    1"));
        QCOMPARE(run.outLines().mid(1), (QStringList{"qsos=4", "dupes=1", "phone=1", "cw=3", "odx=0", "counties=GW",
                                                     "vhf=6M:1,2M:8,70CM:1,23CM:1"}));

        run = runCli(folder.path(), {QStringLiteral("summary"), QStringLiteral("--mode"), QStringLiteral("SSB")});
        QCOMPARE(run.outLines().value(6), QStringLiteral("counties=KD"));

        // The band and mode saved by the window are the ones the counties are counted on.
        IniFile(folder.file(QStringLiteral("kvr_log.ini"))).writeString("Program", "Emisja", "SSB");
        run = runCli(folder.path(), {QStringLiteral("summary")});
        QCOMPARE(run.outLines().value(6), QStringLiteral("counties=KD"));
        IniFile(folder.file(QStringLiteral("kvr_log.ini"))).writeString("Program", "Pasmo", "40M");
        run = runCli(folder.path(), {QStringLiteral("summary")});
        QCOMPARE(run.outLines().value(6), QStringLiteral("counties="));
    }

    void locatorModeNeedsTheOwnLocatorAndShowsTheOdxTotal() {
        TempProgramFolder folder;
        const QString log = folder.writeLines(QStringLiteral("vhf.kvr"),
                                              {TestQso().time("10:00:00").band("2M").call("SP1A").srx("KO02AA")});
        IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
        ini.writeString("Analiza grupy", "Opcja", "Lokator");
        ini.writeString("Analiza grupy", "Analiza", "1");
        CliRun run = runCli(folder.path(), {QStringLiteral("summary"), log});
        QVERIFY(!run.outLines().value(0).contains(QStringLiteral("Suma ODX")));
        ini.writeString("Operator", "Lokator", "JO91RU");
        run = runCli(folder.path(), {QStringLiteral("summary"), log});
        QVERIFY(run.outLines().value(0).endsWith(QStringLiteral("       Suma ODX:      45")));
        QCOMPARE(run.outLines().value(5), QStringLiteral("odx=45"));
    }

    void failuresAreReportedWithTheProgramsMessages() {
        TempProgramFolder folder;
        const QString bad = folder.writeLines(QStringLiteral("bad.kvr"), {QStringLiteral("to nie jest log")});
        CliRun run = runCli(folder.path(), {QStringLiteral("summary"), bad});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("Wczytywanie zostało przerwane.")));
        run = runCli(folder.path(), {QStringLiteral("summary"), folder.file(QStringLiteral("brak.kvr"))});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("brak.kvr")));
        run = runCli(folder.path(), {QStringLiteral("summary"), QStringLiteral("--band"), QStringLiteral("11M")});
        QCOMPARE(run.exitCode, 2);
        TempProgramFolder noCounties(false);
        run = runCli(noCounties.path(), {QStringLiteral("summary")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("Wykaz powiatów (plik \"powiaty.txt\")")));
        QVERIFY(run.err.contains(noCounties.path()));
    }

    void locatorCommand() {
        TempProgramFolder folder;
        CliRun run =
            runCli(folder.path(), {QStringLiteral("locator"), QStringLiteral("JO91RU"), QStringLiteral("KO02AA")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines(), QStringList{QStringLiteral("km=45 azimuth=64.9")});
        run = runCli(folder.path(), {QStringLiteral("locator"), QStringLiteral("JO91RU"), QStringLiteral("XX99")});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.trimmed(), QStringLiteral("Został wprowadzony niepoprawny lokator !!"));
        QCOMPARE(runCli(folder.path(), {QStringLiteral("locator")}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestCliSummary)
#include "tst_cli_summary.moc"
