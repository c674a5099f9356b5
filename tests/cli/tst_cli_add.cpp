#include "testsupport.h"

#include <QFile>
#include <QTest>

class TestCliAdd : public QObject {
    Q_OBJECT
private slots:
    void addsToTheSettingsLogWithEveryBackup() {
        TempProgramFolder folder;
        folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nSTX=017\r\nGrupa=-KO02MD\r\nPasmo=40M\r\n");
        const CliRun first =
            runCli(folder.path(), {QStringLiteral("add"), QStringLiteral("--call"), QStringLiteral("sp9abc"),
                                   QStringLiteral("--srx"), QStringLiteral("012gw"), QStringLiteral("--date"),
                                   QStringLiteral("2026-03-14"), QStringLiteral("--time"), QStringLiteral("08:00:00")});
        QCOMPARE(first.exitCode, 0);
        const QString line =
            QStringLiteral("2026-03-14 080000  40M CW 599  017 KO02MD SP9ABC          599       012GW ");
        QCOMPARE(first.out, line + QLatin1Char('\n'));
        QCOMPARE(folder.readLines(QStringLiteral("log.kvr")), QStringList{line});
        QVERIFY(QFile::exists(folder.file(QStringLiteral("Backup_logs/temporary_1.kvr"))));

        // The next serial was kept; the same station again is a dupe.
        const CliRun second =
            runCli(folder.path(), {QStringLiteral("add"), QStringLiteral("--call"), QStringLiteral("SP9ABC"),
                                   QStringLiteral("--srx"), QStringLiteral("012GW"), QStringLiteral("--date"),
                                   QStringLiteral("2026-03-14"), QStringLiteral("--time"), QStringLiteral("08:01:00")});
        QCOMPARE(second.exitCode, 0);
        QVERIFY(second.out.contains(QStringLiteral("018 KO02MD")));
        QVERIFY(second.out.trimmed().endsWith(QStringLiteral("DUPE")));
        QCOMPARE(folder.readLines(QStringLiteral("log.kvr~")), QStringList{line});
    }

    // A run killed after the append and before the serial was saved: the next run follows the log.
    void serialFollowsALogThatGotAheadOfTheSettings() {
        TempProgramFolder folder;
        folder.writeBytes(QStringLiteral("kvr_log.ini"), "[Program]\r\nSTX=017\r\nGrupa=-KO02MD\r\nPasmo=40M\r\n");
        // The last contact has no line break: an editor dropped it, or a write was cut.
        folder.writeBytes(QStringLiteral("log.kvr"),
                          "2026-03-14 080000  40M CW 599  017 KO02MD SP9ABC          599       012GW ");
        const CliRun run =
            runCli(folder.path(), {QStringLiteral("add"), QStringLiteral("--call"), QStringLiteral("SP8XYZ"),
                                   QStringLiteral("--srx"), QStringLiteral("1"), QStringLiteral("--date"),
                                   QStringLiteral("2026-03-14"), QStringLiteral("--time"), QStringLiteral("08:05:00")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(QStringLiteral(" 018 KO02MD SP8XYZ")), qPrintable(run.out));
        const QStringList lines = folder.readLines(QStringLiteral("log.kvr"));
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).contains(QStringLiteral("SP9ABC")));
        QVERIFY(lines.at(1).contains(QStringLiteral("SP8XYZ")));
        QVERIFY(folder.readLines(QStringLiteral("kvr_log.ini")).contains(QStringLiteral("STX=019")));
    }

    void firstContactOfAFreshFolderHasSerialOneAndNoFixedPart() {
        TempProgramFolder folder;
        const CliRun run =
            runCli(folder.path(), {QStringLiteral("add"), QStringLiteral("--call"), QStringLiteral("SP9ABC"),
                                   QStringLiteral("--srx"), QStringLiteral("12"), QStringLiteral("--date"),
                                   QStringLiteral("2026-03-14"), QStringLiteral("--time"), QStringLiteral("08:00:00")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.mid(34, 7), QStringLiteral("    001"));
        QVERIFY(folder.readLines(QStringLiteral("kvr_log.ini")).contains(QStringLiteral("STX=002")));
    }

    void badInputIsReported_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no callsign") << QStringList{QStringLiteral("add")} << 2;
        QTest::newRow("unknown band") << QStringList{"add", "--call", "SP9ABC", "--band", "11M"} << 2;
        QTest::newRow("time without date") << QStringList{"add", "--call", "SP9ABC", "--time", "08:00:00"} << 2;
        QTest::newRow("impossible time") << QStringList{"add",        "--call", "X",       "--date",
                                                        "2026-03-14", "--time", "24:00:00"}
                                         << 2;
        QTest::newRow("log in a missing folder")
            << QStringList{"add", "--call", "SP9ABC", "--srx", "1", "--log", "missing/log.kvr"} << 1;
    }
    void badInputIsReported() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        TempProgramFolder folder;
        const CliRun run = runCli(folder.path(), args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(!QFile::exists(folder.file(QStringLiteral("log.kvr"))));
    }

    void missingCountyListStopsIt() {
        TempProgramFolder folder(false);
        const CliRun run =
            runCli(folder.path(), {QStringLiteral("add"), QStringLiteral("--call"), QStringLiteral("SP9ABC")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.startsWith(QStringLiteral("Wykaz powiatów")));
    }
};

QTEST_GUILESS_MAIN(TestCliAdd)
#include "tst_cli_add.moc"
