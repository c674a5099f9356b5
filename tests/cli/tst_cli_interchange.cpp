#include "contesttext.h"
#include "importfiles.h"
#include "settings/inifile.h"
#include "testqso.h"
#include "testsupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

namespace {

void writeSettings(const TempProgramFolder& folder, bool locatorAnalysis) {
    IniFile ini(folder.file("kvr_log.ini"));
    IniFile::Batch batch(ini);
    ini.writeString("Operator", "Uzywany znak", "SP9XYZ/P");
    ini.writeString("Operator", "Name", "Jan Kowalski");
    ini.writeString("Operator", "Adres1", "ul. Długa 1");
    ini.writeString("Operator", "Lokator", "KO02MD");
    ini.writeString("Operator", "Znak operatora", "SP9XYZ");
    ini.writeString("Program", "Log", folder.file("log.kvr"));
    ini.writeString("Cabrillo", "Wersja", "3.0");
    ini.writeInteger("Cabrillo", "Zawody_międzynarodowe", 0);
    ini.writeString("EDI", "TName", "SP VHF");
    ini.writeString("EDI", "PAdr1", "Szczyt");
    ini.writeString("EDI", "PSect", "SO");
    ini.writeInteger("EDI", "SpinEdit_2M", 2);
    if (locatorAnalysis) {
        ini.writeString("Analiza grupy", "Opcja", "Lokator");
        ini.writeBool("Analiza grupy", "Analiza", true);
    }
}

QStringList vhfLog() {
    return {
        TestQso().time("10:00:00").band("2M").call("SP1AA").stx("001 KO02MD").srx("005JO90AB"),
        TestQso().time("10:01:00").band("70CM").mode("PH").rst("59").call("SP2BB").stx("002 KO02MD").srx("006JO91CD"),
        TestQso().time("10:02:00").call("DL1ABC").stx("003").srx("017")};
}

} // namespace

class TestInterchangeCli : public QObject {
    Q_OBJECT
private slots:
    void cabrilloExportTakesTheOptionsTheSettingsDoNotHold();
    void ediExportWritesOneFilePerBand_data();
    void ediExportWritesOneFilePerBand();
    void ediExportNeedsLocatorAnalysis();
    void adifExportThenImportKeepsTheLogAndABackup();
    void cabrilloExportTakesTheChosenContestsValues_data();
    void cabrilloExportTakesTheChosenContestsValues();
    void cabrilloImportAppends();
    void importNotesGoToStderr();
    void badUsageExitsWithTwo();
    void ediAndCsvMatchTheCheckedFiles();
};

void TestInterchangeCli::cabrilloExportTakesTheOptionsTheSettingsDoNotHold() {
    TempProgramFolder folder;
    writeSettings(folder, false);
    folder.writeLines("log.kvr", vhfLog());
    const CliRun run = runCli(folder.path(), {"export", "cabrillo", "--claimed", "123", "--location", "EU",
                                              "--contest-name", "MOJE", folder.file("out.cbr")});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = folder.readLines("out.cbr");
    QVERIFY(lines.contains("CONTEST: MOJE"));
    QVERIFY(lines.contains("CLAIMED-SCORE: 123"));
    QVERIFY(lines.contains("LOCATION: EU"));
    QVERIFY(lines.contains("ADDRESS: ul. Długa 1"));
    QCOMPARE(lines.filter("QSO:").size(), 3);
}

// A contest chosen in the program gives CONTEST: and CLAIMED-SCORE: where no option does.
void TestInterchangeCli::cabrilloExportTakesTheChosenContestsValues_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("contest");
    QTest::addColumn<QString>("claimed");
    QTest::newRow("no option") << QStringList{} << "CONTEST: PROBA"
                               << "CLAIMED-SCORE: 8";
    QTest::newRow("claimed given") << QStringList{"--claimed", "5"} << "CONTEST: PROBA"
                                   << "CLAIMED-SCORE: 5";
    QTest::newRow("both given") << QStringList{"--claimed", "5", "--contest-name", "MOJE"} << "CONTEST: MOJE"
                                << "CLAIMED-SCORE: 5";
}

void TestInterchangeCli::cabrilloExportTakesTheChosenContestsValues() {
    QFETCH(QStringList, options);
    QFETCH(QString, contest);
    QFETCH(QString, claimed);
    TempProgramFolder folder;
    writeSettings(folder, false);
    IniFile(folder.file("kvr_log.ini")).writeString("Zawody", "Definicja", "proba");
    QDir(folder.path()).mkpath("contests");
    // Two points a contact on 20 m and 2 m, the WPX prefixes as multipliers: the 70 cm contact counts nothing.
    folder.writeBytes("contests/proba.ini",
                      contestText({"Nazwa=Proba", "Cabrillo=PROBA", "Pasma=20M 2M", "Emisje=CW SSB"}, {"Regula=2"},
                                  {"Mnoznik=wpx raz"}));
    folder.writeLines("log.kvr", vhfLog());
    const CliRun run =
        runCli(folder.path(), QStringList{"export", "cabrillo"} + options + QStringList{folder.file("out.cbr")});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = folder.readLines("out.cbr");
    QVERIFY2(lines.contains(contest), qPrintable(lines.join('\n')));
    QVERIFY(lines.contains(claimed));
}

void TestInterchangeCli::ediExportWritesOneFilePerBand_data() {
    QTest::addColumn<QString>("band");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("all") << "all" << QStringList{"sp9xyz_p_2M.edi", "sp9xyz_p_70CM.edi"};
    QTest::newRow("2M") << "2M" << QStringList{"sp9xyz_p_2M.edi"};
    QTest::newRow("6M without contacts") << "6M" << QStringList{};
}

void TestInterchangeCli::ediExportWritesOneFilePerBand() {
    QFETCH(QString, band);
    QFETCH(QStringList, files);
    TempProgramFolder folder;
    writeSettings(folder, true);
    folder.writeLines("log.kvr", vhfLog());
    const CliRun run = runCli(folder.path(), {"export", "edi", "--band", band, folder.file("edi")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QDir(folder.file("edi")).entryList(QDir::Files), files);
    if (band == "2M") {
        const QStringList lines = folder.readLines("edi/sp9xyz_p_2M.edi");
        QVERIFY(lines.contains("CQSOs=1;2"));
        QVERIFY(lines.contains("[QSORecords;1]"));
    }
}

void TestInterchangeCli::ediExportNeedsLocatorAnalysis() {
    TempProgramFolder folder;
    writeSettings(folder, false);
    folder.writeLines("log.kvr", vhfLog());
    const CliRun run = runCli(folder.path(), {"export", "edi", folder.file("edi")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.err.contains("Eksport logu do  pliku  EDI jest możliwy"));
}

void TestInterchangeCli::adifExportThenImportKeepsTheLogAndABackup() {
    TempProgramFolder folder;
    writeSettings(folder, false);
    folder.writeLines("log.kvr", vhfLog());
    QCOMPARE(runCli(folder.path(), {"export", "adif", "--comment", "tnx", folder.file("out.adi")}).exitCode, 0);
    folder.writeLines("log.kvr", {TestQso().date("2020-01-01").time("00:00:00").band("80M").call("SP7OLD")});
    const CliRun run = runCli(folder.path(), {"import", "adif", folder.file("out.adi")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains("imported=3"));
    QStringList expected = vhfLog();
    expected.sort();
    QCOMPARE(folder.readLines("log.kvr"), expected);
    const QStringList backups = QDir(folder.file("Backup_logs")).entryList(QDir::Files);
    QCOMPARE(backups.size(), 1);
    QCOMPARE(folder.readLines("Backup_logs/" + backups.first()).size(), 1);
}

void TestInterchangeCli::cabrilloImportAppends() {
    TempProgramFolder folder;
    writeSettings(folder, false);
    folder.writeLines("log.kvr", vhfLog());
    const CliRun run = runCli(folder.path(), {"import", "cabrillo", testDataFile("cabrillo_several_blanks_crlf.cbr")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.trimmed(), QStringLiteral("imported=3"));
    QCOMPARE(folder.readLines("log.kvr").size(), 6);
    QCOMPARE(folder.readLines("log.kvr~").size(), 3);
}

// Every record left out or cleaned is named on stderr, after the counts on stdout.
void TestInterchangeCli::importNotesGoToStderr() {
    TempProgramFolder folder;
    writeSettings(folder, false);
    folder.writeLines("log.kvr", {});
    const QString in = folder.writeBytes("in.adi", adifRecord("<BAND:3>20M <MODE:2>CW <CALL:8>SP\r\n1ABC") +
                                                       adifRecord("<BAND:3>20M <CALL:5>SP2BB") +
                                                       adifRecord("<BAND:3>20M <MODE:2>CW <CALL:5>SP3CC"));
    const CliRun run = runCli(folder.path(), {"import", "adif", in});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.outLines().filter(QRegularExpression("^(imported|skipped)=")),
             QStringList({"imported=2", "skipped=1"}));
    QCOMPARE(run.err.split('\n', Qt::SkipEmptyParts),
             QStringList({"Rekord 1: pole CALL zawierało znaki sterujące – poprawiono",
                          "Rekord 2 pominięty: brak emisji (MODE)"}));
}

void TestInterchangeCli::badUsageExitsWithTwo() {
    TempProgramFolder folder;
    QCOMPARE(runCli(folder.path(), {"export", "edi", "--band", "80M", folder.file("x")}).exitCode, 2);
    QCOMPARE(runCli(folder.path(), {"import", "xml", folder.file("x")}).exitCode, 2);
    QCOMPARE(runCli(folder.path(), {"export", "csv"}).exitCode, 2);
}

// The expected files were checked field by field against the REG1TEST and CSV layouts.
void TestInterchangeCli::ediAndCsvMatchTheCheckedFiles() {
    TempProgramFolder folder;
    {
        IniFile ini(folder.file("kvr_log.ini"));
        IniFile::Batch batch(ini);
        ini.writeString("Operator", "Uzywany znak", "SP9XYZ/P");
        ini.writeString("Operator", "Name", "Jan Kowalski");
        ini.writeString("Operator", "Adres1", "ul. Długa 1");
        ini.writeString("Operator", "Lokator", "KO02MD");
        ini.writeString("Operator", "Znak operatora", "SP9XYZ");
        ini.writeString("Operator", "Kod", "43-300");
        ini.writeString("Operator", "Miejscowosc", "Bielsko-Biała");
        ini.writeString("Analiza grupy", "Opcja", "Lokator");
        ini.writeBool("Analiza grupy", "Analiza", true);
        ini.writeString("EDI", "TName", "SP VHF");
        ini.writeString("EDI", "PAdr1", "Szczyt");
        ini.writeString("EDI", "PSect", "SO");
        ini.writeInteger("EDI", "SpinEdit2_2M", 500);
        ini.writeString("EDI", "Remarks_2M", "Pierwsza|Druga");
    }
    const QString log = testDataFile("edi_locator_log.kvr");
    QCOMPARE(runCli(folder.path(), {"export", "edi", "--log", log, folder.file("out")}).exitCode, 0);
    QCOMPARE(runCli(folder.path(), {"export", "csv", "--log", log, folder.file("out/x.csv")}).exitCode, 0);
    const auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QCOMPARE(bytes(folder.file("out/sp9xyz_p_2M.edi")), fixtureWithBuildVersion("edi_expected_2M.edi"));
    QCOMPARE(bytes(folder.file("out/sp9xyz_p_70CM.edi")), fixtureWithBuildVersion("edi_expected_70CM.edi"));
    QCOMPARE(bytes(folder.file("out/x.csv")), bytes(testDataFile("csv_expected_locator.csv")));
    QVERIFY(
        fixtureWithBuildVersion("edi_expected_2M.edi").contains("[END;KVR_Log, version " + buildVersion().toLatin1()));
}

QTEST_GUILESS_MAIN(TestInterchangeCli)
#include "tst_cli_interchange.moc"
