#include "dtawriter.h"
#include "testsupport.h"

#include <QTest>

// kvrlog-cli master FILE PATTERN.
class TestCliMaster : public QObject {
    Q_OBJECT

private slots:
    void databaseMatchesInFileOrder() {
        TempProgramFolder folder;
        const QString dta = folder.file("calls.dta");
        QVERIFY(DtaWriter::write(dta, {"SP7ZZZ", "SQ7AA", "HF0SP7", "SP7ABC", "DL1ABC", "SP7A_B"}));
        const CliRun run = runCli(folder.path(), {"master", dta, "s?7a"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines(), (QStringList{"SQ7AA", "SP7ABC", "SP7A B"}));
    }

    void textListMatchesBySubstring() {
        TempProgramFolder folder;
        const QString text = folder.writeLines("MASTER.SCP", {"# header", "SP7ABC", "DL1ABC", "S?7ABC", "OK1XX"});
        const CliRun run = runCli(folder.path(), {"master", text, "abc"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines(), (QStringList{"SP7ABC", "DL1ABC", "S?7ABC"}));
    }

    void invalidDatabaseIsAnError() {
        TempProgramFolder folder;
        const QString dta = folder.writeBytes("bad.dta", QByteArray(5481, '\0'));
        const CliRun run = runCli(folder.path(), {"master", dta, "SP"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.outLines().isEmpty());
        QCOMPARE(run.err.trimmed(), QStringLiteral("bad.dta is not a valid Master Callsign Database file."));
    }

    void missingFileAndBadUsage() {
        TempProgramFolder folder;
        const QString missing = folder.file("none.dta");
        CliRun run = runCli(folder.path(), {"master", missing, "SP"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.trimmed(), "Plik MASTER:\n" + missing + "\nNie istnieje lub nie daje się czytać !");
        run = runCli(folder.path(), {"master", missing});
        QCOMPARE(run.exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestCliMaster)
#include "tst_cli_master.moc"
