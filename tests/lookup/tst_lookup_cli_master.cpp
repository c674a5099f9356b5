#include "dtawriter.h"
#include "testsupport.h"

#include <QProcess>
#include <QTest>

namespace {
struct Run {
    int exitCode = -1;
    QStringList out;
    QString err;
};

Run cli(const QString& home, const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(KVR_BIN_DIR "/kvrlog-cli"), QStringList{QStringLiteral("--home"), home} + args);
    process.waitForFinished(60000);
    Run run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    run.err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return run;
}
} // namespace

// kvrlog-cli master FILE PATTERN.
class TestCliMaster : public QObject {
    Q_OBJECT

private slots:
    void databaseMatchesInFileOrder() {
        TempProgramFolder folder;
        const QString dta = folder.file("calls.dta");
        QVERIFY(DtaWriter::write(dta, {"SP7ZZZ", "SQ7AA", "HF0SP7", "SP7ABC", "DL1ABC", "SP7A_B"}));
        const Run run = cli(folder.path(), {"master", dta, "s?7a"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, (QStringList{"SQ7AA", "SP7ABC", "SP7A B"}));
    }

    void textListMatchesBySubstring() {
        TempProgramFolder folder;
        const QString text = folder.writeLines("MASTER.SCP", {"# header", "SP7ABC", "DL1ABC", "S?7ABC", "OK1XX"});
        const Run run = cli(folder.path(), {"master", text, "abc"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, (QStringList{"SP7ABC", "DL1ABC", "S?7ABC"}));
    }

    void invalidDatabaseIsAnError() {
        TempProgramFolder folder;
        const QString dta = folder.writeBytes("bad.dta", QByteArray(5481, '\0'));
        const Run run = cli(folder.path(), {"master", dta, "SP"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, QStringLiteral("bad.dta is not a valid Master Callsign Database file."));
    }

    void missingFileAndBadUsage() {
        TempProgramFolder folder;
        const QString missing = folder.file("none.dta");
        Run run = cli(folder.path(), {"master", missing, "SP"});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "Plik MASTER:\n" + missing + "\nNie istnieje lub nie daje się czytać !");
        run = cli(folder.path(), {"master", missing});
        QCOMPARE(run.exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestCliMaster)
#include "tst_lookup_cli_master.moc"
