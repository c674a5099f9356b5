#include "core/logfile.h"
#include "importfiles.h"
#include "interchange/adifimport.h"
#include "interchange/cabrilloimport.h"
#include "interchange/interchangecommands.h"
#include "log/logedit.h"
#include "log/logsession.h"
#include "scripteddialogs.h"
#include "testclock.h"
#include "testqso.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace {

struct Fixture {
    TempProgramFolder folder;
    ScriptedDialogs dialogs;
    TestClock clock{QDateTime(QDate(2024, 6, 2), QTime(8, 9, 10))};
    LogSession session{ProgramFolder(folder.path()), dialogs, clock};

    explicit Fixture(const QStringList& log = {}) {
        session.setLogPath(folder.file("log.kvr"));
        session.operatorData.contestCall = QStringLiteral("SP9XYZ/P");
        session.LoadCountyList();
        if (!log.isEmpty())
            folder.writeLines("log.kvr", log);
        session.reload();
    }
};

const QString kImportWarning = QStringLiteral("Ostrzeżenie");

} // namespace

class TestInterchangeCommands : public QObject {
    Q_OBJECT
private slots:
    void csvExportProposesTheCallAndAsksBeforeOverwriting();
    void csvExportCancelledWritesNothing();
    void cabrilloExportValidatesBeforeAskingForAFile_data();
    void cabrilloExportValidatesBeforeAskingForAFile();
    void cabrilloExportAsksTheNameOfAnUnlistedContest();
    void adifExportWritesWithTheDefaultExtension();
    void adifImportIntoEmptyLogAsksNothingBeforeTheFile();
    void adifImportAnswers_data();
    void adifImportAnswers();
    void adifImportWithoutRecordsLeavesTheLog();
    void adifImportTellsHowManyRecordsWereSkipped();
    void cabrilloImportGivesUniqueSecondsAfterTheLog();
    void cabrilloImportUsesSecond59WhenTheMinuteIsFull();
    void cabrilloImportMapsFrequenciesToEveryBand_data();
    void cabrilloImportMapsFrequenciesToEveryBand();
    void cabrilloImportSkipsUnknownBandsAndKeepsTheRest();
    void cabrilloImportReadsOtherLoggersFiles();
    void importedLinesWithOddDatesStillLoad();
    void backupCopyGoesToBackupLogs();
    void importsKeepTheLogLoadable_data();
    void importsKeepTheLogLoadable();
    void importThatDoesNotLoadPutsTheOldLogBack_data();
    void importThatDoesNotLoadPutsTheOldLogBack();
    void importMessageNamesRecordsChangedAndLeftOut();
    void noteListShowsTheFirstTwenty();
    void cabrilloImportWritesANewFileInsteadOfAppending();
    void serialAfterImportFollowsTheLastContactWithASerial();
    void backupNameIsTakenWhenItIsChosen();
};

void TestInterchangeCommands::csvExportProposesTheCallAndAsksBeforeOverwriting() {
    Fixture f({TestQso().time("12:00:00").call("SP1AA")});
    f.folder.writeLines("first.csv", {"old"});
    f.dialogs.fileAnswers = {f.folder.file("first"), f.folder.file("second")};
    f.dialogs.buttonAnswers = {DialogButton::No};
    const auto path = InterchangeCommands::exportCsv(f.session);
    QCOMPARE(path, f.folder.file("second.csv"));
    QCOMPARE(f.dialogs.fileRequests.first().proposedName, QStringLiteral("sp9xyz_p"));
    QCOMPARE(f.dialogs.fileRequests.first().filter, QStringLiteral("Pliki CSV (*.csv);;Wszystkie pliki (*)"));
    QCOMPARE(f.dialogs.messages.at(0).text,
             "Plik CSV:\n" + f.folder.file("first.csv") + "\nistnieje.\nCzy zastąpić ten plik ?");
    QCOMPARE(f.dialogs.messages.at(0).title, kImportWarning);
    QCOMPARE(f.dialogs.messages.at(1).text, "Plik CSV: \n" + f.folder.file("second.csv") + "\nzostał zapisany!");
    QCOMPARE(f.dialogs.messages.at(1).title, QStringLiteral("Informacja"));
    QCOMPARE(f.folder.readLines("first.csv"), QStringList{"old"});
    QCOMPARE(f.folder.readLines("second.csv").size(), 2);
}

void TestInterchangeCommands::csvExportCancelledWritesNothing() {
    Fixture f;
    QVERIFY(!InterchangeCommands::exportCsv(f.session));
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TestInterchangeCommands::cabrilloExportValidatesBeforeAskingForAFile_data() {
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("message");
    QTest::newRow("callsign") << "callsign"
                              << "Proszę wprowadzić znak używany podczas zawodów!\nWszystkie niebieskie pola muszą "
                                 "być wypełnione!";
    QTest::newRow("name") << "name"
                          << "Proszę wprowadzić imię i nazwisko!\nWszystkie niebieskie pola muszą być "
                             "wypełnione!";
    QTest::newRow("address") << "address"
                             << "Proszę wprowadzić adres!\nWszystkie szare pola muszą być wypełnione!";
    QTest::newRow("log file") << "log"
                              << "";
}

void TestInterchangeCommands::cabrilloExportValidatesBeforeAskingForAFile() {
    QFETCH(QString, missing);
    QFETCH(QString, message);
    Fixture f({TestQso().time("12:00:00").call("SP1AA")});
    CabrilloHeader h;
    h.callsign = missing == "callsign" ? QString() : QStringLiteral("SP9XYZ");
    h.name = missing == "name" ? QString() : QStringLiteral("Jan");
    h.address1 = missing == "address" ? QString() : QStringLiteral("Adres");
    if (missing == "log") {
        f.session.setLogPath(f.folder.file("gone.kvr"));
        message = "Plik \"" + f.folder.file("gone.kvr") + "\" nie istnieje!";
    }
    QVERIFY(!InterchangeCommands::exportCabrillo(f.session, h, 1));
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Błąd"));
    QCOMPARE(f.dialogs.messages.first().text, message);
    QVERIFY(f.dialogs.fileRequests.isEmpty());
}

void TestInterchangeCommands::cabrilloExportAsksTheNameOfAnUnlistedContest() {
    Fixture f({TestQso().time("12:00:00").call("SP1AA")});
    CabrilloHeader h;
    h.version3 = true;
    h.callsign = QStringLiteral("SP9XYZ/P");
    h.name = QStringLiteral("Jan");
    h.address1 = QStringLiteral("Adres");
    f.dialogs.inputAnswers = {QStringLiteral("MOJE ZAWODY")};
    f.dialogs.fileAnswers = {f.folder.file("abc")};
    const auto path = InterchangeCommands::exportCabrillo(f.session, h, 0);
    QCOMPARE(path, f.folder.file("abc.cbr"));
    QCOMPARE(f.dialogs.inputPrompts, QStringList{"Wprowadzanie nazwy zawodów|Nazwa zawodów:"});
    QCOMPARE(f.dialogs.fileRequests.first().proposedName, QStringLiteral("sp9xyz_p"));
    const QStringList lines = f.folder.readLines("abc.cbr");
    QCOMPARE(lines.at(1), QStringLiteral("CONTEST: MOJE ZAWODY"));
    QCOMPARE(lines.filter("QSO:").size(), 1);
    QCOMPARE(f.dialogs.lastText(), "Plik Cabrillo: \n" + f.folder.file("abc.cbr") + "\nzostał zapisany!");

    f.dialogs.fileAnswers = {f.folder.file("abc.log")};
    QCOMPARE(InterchangeCommands::exportCabrillo(f.session, h, 5), f.folder.file("abc.log"));
    QCOMPARE(f.dialogs.inputPrompts.size(), 1);
}

void TestInterchangeCommands::adifExportWritesWithTheDefaultExtension() {
    Fixture f({TestQso().time("12:00:00").call("SP1AA")});
    f.dialogs.fileAnswers = {f.folder.file("x")};
    QCOMPARE(InterchangeCommands::exportAdif(f.session, InterchangeCommands::adifOptions(f.session)),
             f.folder.file("x.adi"));
    QCOMPARE(f.folder.readLines("x.adi").size(), 4);
    QCOMPARE(f.dialogs.fileRequests.first().filter, QStringLiteral("Pliki ADIF (*.adi);;Wszystkie pliki (*)"));
}

void TestInterchangeCommands::adifImportIntoEmptyLogAsksNothingBeforeTheFile() {
    Fixture f;
    f.dialogs.fileAnswers = {testDataFile("adif_multiline_records.adi")};
    bool copyAsked = false;
    const auto outcome = InterchangeCommands::importAdif(f.session, [&](const QString&) {
        copyAsked = true;
        return true;
    });
    QVERIFY(!copyAsked);
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Zaimportowano łączności: 2")});
    QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Informacja"));
    QCOMPARE(outcome.imported, 2);
    QCOMPARE(f.session.log().size(), 2);
    QCOMPARE(f.folder.readLines("log.kvr").size(), 2);
}

void TestInterchangeCommands::adifImportAnswers_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("copySaved");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("secondText");
    QTest::newRow("cancel") << int(DialogButton::Cancel) << false << 0 << false << QString();
    QTest::newRow("yes, copy saved") << int(DialogButton::Yes) << true << 0 << true << QString();
    QTest::newRow("yes, copy cancelled, confirmed") << int(DialogButton::Yes) << false << int(DialogButton::Ok) << true
                                                    << InterchangeCommands::adifNotSavedQuestion();
    QTest::newRow("yes, copy cancelled, cancelled") << int(DialogButton::Yes) << false << int(DialogButton::Cancel)
                                                    << false << InterchangeCommands::adifNotSavedQuestion();
    QTest::newRow("no, confirmed") << int(DialogButton::No) << false << int(DialogButton::Ok) << true
                                   << InterchangeCommands::adifNoSaveQuestion();
    QTest::newRow("no, cancelled") << int(DialogButton::No) << false << int(DialogButton::Cancel) << false
                                   << InterchangeCommands::adifNoSaveQuestion();
}

void TestInterchangeCommands::adifImportAnswers() {
    QFETCH(int, first);
    QFETCH(bool, copySaved);
    QFETCH(int, second);
    QFETCH(bool, replaced);
    QFETCH(QString, secondText);
    const QString old = TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD");
    Fixture f({old});
    f.dialogs.buttonAnswers = {DialogButton(first)};
    if (second)
        f.dialogs.buttonAnswers.push_back(DialogButton(second));
    f.dialogs.fileAnswers = {testDataFile("adif_several_records_one_line.adi")};
    QString proposed;
    InterchangeCommands::importAdif(f.session, [&](const QString& name) {
        proposed = name;
        return copySaved;
    });
    const ShownMessage& question = f.dialogs.messages.first();
    QCOMPARE(question.text, InterchangeCommands::adifReplaceQuestion());
    QCOMPARE(question.title, kImportWarning);
    QCOMPARE(question.buttons,
             unsigned(DialogButton::Yes) | unsigned(DialogButton::No) | unsigned(DialogButton::Cancel));
    if (first == int(DialogButton::Yes))
        QCOMPARE(proposed, QStringLiteral("sp9xyz_p.kvr"));
    if (!secondText.isEmpty()) {
        QCOMPARE(f.dialogs.messages.size(), replaced ? 3 : 2);
        QCOMPARE(f.dialogs.messages.at(1).text, secondText);
        QCOMPARE(f.dialogs.messages.at(1).defaultButton, DialogButton::Cancel);
        QCOMPARE(f.dialogs.messages.at(1).buttons, DialogButton::Ok | DialogButton::Cancel);
    }
    const QStringList onDisk = f.folder.readLines("log.kvr");
    if (replaced) {
        QCOMPARE(f.dialogs.lastText(), QStringLiteral("Zaimportowano łączności: 3"));
        QCOMPARE(onDisk.size(), 3);
        QCOMPARE(f.session.log().size(), 3);
        QCOMPARE(f.folder.readLines("log.kvr~"), QStringList{old});
    } else {
        QCOMPARE(onDisk, QStringList{old});
        QCOMPARE(f.dialogs.fileRequests.size(), 0);
    }
}

void TestInterchangeCommands::adifImportWithoutRecordsLeavesTheLog() {
    const QString old = TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD");
    Fixture f({old});
    f.dialogs.buttonAnswers = {DialogButton::No, DialogButton::Ok};
    f.dialogs.fileAnswers = {testDataFile("adif_no_records.txt")};
    InterchangeCommands::importAdif(f.session, {});
    QCOMPARE(
        f.dialogs.lastText(),
        QStringLiteral("Wybrany plik ma format niezgodny ze standardem ADIF  !\n\nImport danych został przerwany."));
    QCOMPARE(f.dialogs.messages.last().title, QStringLiteral("Błąd"));
    QCOMPARE(f.folder.readLines("log.kvr"), QStringList{old});
}

void TestInterchangeCommands::adifImportTellsHowManyRecordsWereSkipped() {
    Fixture f;
    const auto outcome =
        InterchangeCommands::importAdifFile(f.session, testDataFile("adif_records_without_usable_band.adi"));
    QCOMPARE(outcome.imported, 1);
    QCOMPARE(outcome.skipped, 2);
    QCOMPARE(outcome.notes.size(), 2);
    // The notes go with the count in the menu command's message (kvrlog-cli prints them itself).
    QVERIFY(f.dialogs.messages.isEmpty());
    // The log loads whole: no line stops the loader.
    QCOMPARE(f.session.reload().status, LoadResult::Status::Loaded);
}

void TestInterchangeCommands::cabrilloImportGivesUniqueSecondsAfterTheLog() {
    Fixture f({TestQso().date("2007-05-12").time("12:05:00").band("80M").call("SP7OLD")});
    const QString in = f.folder.writeLines(
        "in.cbr", {"START-OF-LOG: 3.0", "QSO: 14025 CW 2007-05-12 1205 SP9XYZ 599 001 DL1ABC 599 017",
                   "QSO: 14025 CW 2007-05-12 1205 SP9XYZ 599 002 DL2ABC 599 018",
                   "QSO: 14025 CW 2007-05-12 1205 SP9XYZ 599 003 DL3ABC 599 019", "END-OF-LOG:"});
    f.dialogs.fileAnswers = {in};
    const auto outcome = InterchangeCommands::importCabrillo(f.session);
    QCOMPARE(outcome.imported, 3);
    QCOMPARE(f.dialogs.fileRequests.first().filter,
             QStringLiteral("Pliki Cabrillo (*.log *.cbr);;Wszystkie pliki (*)"));
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Zaimportowano łączności: 3")});
    const QStringList lines = f.folder.readLines("log.kvr");
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(1).left(17), QStringLiteral("2007-05-12 120501"));
    QCOMPARE(lines.at(2).left(17), QStringLiteral("2007-05-12 120502"));
    QCOMPARE(lines.at(3).left(17), QStringLiteral("2007-05-12 120503"));
    QCOMPARE(lines.at(1), TestQso().date("2007-05-12").time("12:05:01").call("DL1ABC").stx("001").srx("017").line());
    QCOMPARE(f.folder.readLines("log.kvr~").size(), 1);
    QCOMPARE(f.session.log().size(), 4);
}

void TestInterchangeCommands::cabrilloImportUsesSecond59WhenTheMinuteIsFull() {
    QStringList text;
    for (int i = 0; i < 62; ++i)
        text << QStringLiteral("QSO: 3510 CW 2024-06-01 1000 SP9XYZ 599 %1 SP%2AA 599 1").arg(i).arg(i);
    CabrilloImport import({});
    const CabrilloImport::Result r = import.parse(text.join('\n'));
    QCOMPARE(r.lines.size(), 62);
    QCOMPARE(qsoOf(r.lines.at(0)).time, QStringLiteral("100000"));
    QCOMPARE(qsoOf(r.lines.at(58)).time, QStringLiteral("100058"));
    QCOMPARE(qsoOf(r.lines.at(59)).time, QStringLiteral("100059"));
    QCOMPARE(qsoOf(r.lines.at(61)).time, QStringLiteral("100059"));
}

void TestInterchangeCommands::cabrilloImportMapsFrequenciesToEveryBand_data() {
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QString>("band");
    QTest::newRow("1830 kHz") << "1830"
                              << "160M";
    QTest::newRow("3510 kHz") << "3510"
                              << "80M";
    QTest::newRow("7010 kHz") << "7010"
                              << "40M";
    QTest::newRow("10110 kHz WARC") << "10110"
                                    << "30M";
    QTest::newRow("14025 kHz") << "14025"
                               << "20M";
    QTest::newRow("18100 kHz WARC") << "18100"
                                    << "17M";
    QTest::newRow("21050 kHz") << "21050"
                               << "15M";
    QTest::newRow("24900 kHz WARC") << "24900"
                                    << "12M";
    QTest::newRow("28500 kHz") << "28500"
                               << "10M";
    QTest::newRow("50 designator") << "50"
                                   << "6M";
    QTest::newRow("50150 kHz") << "50150"
                               << "6M";
    QTest::newRow("144 designator") << "144"
                                    << "2M";
    QTest::newRow("144300 kHz") << "144300"
                                << "2M";
    QTest::newRow("432 designator") << "432"
                                    << "70CM";
    QTest::newRow("432200 kHz") << "432200"
                                << "70CM";
    QTest::newRow("1.2G designator") << "1.2G"
                                     << "23CM";
    QTest::newRow("1200 of our own export") << "1200"
                                            << "23CM";
    QTest::newRow("1296200 kHz") << "1296200"
                                 << "23CM";
    QTest::newRow("222 designator") << "222"
                                    << "";
    QTest::newRow("5000 kHz") << "5000"
                              << "";
    QTest::newRow("no number") << "abc"
                               << "";
}

void TestInterchangeCommands::cabrilloImportMapsFrequenciesToEveryBand() {
    QFETCH(QString, frequency);
    QFETCH(QString, band);
    QCOMPARE(CabrilloImport::bandOf(frequency).name(), band);
}

void TestInterchangeCommands::cabrilloImportSkipsUnknownBandsAndKeepsTheRest() {
    Fixture f;
    const auto outcome =
        InterchangeCommands::importCabrilloFile(f.session, testDataFile("cabrillo_vhf_designators_lf.log"));
    QCOMPARE(outcome.imported, 7);
    QCOMPARE(outcome.skipped, 1);
    QCOMPARE(outcome.notes, QStringList{"Linia 10 pominięta: częstotliwość \"222\" nie leży w żadnym paśmie programu"});
    QCOMPARE(f.session.log().size(), 7);
    QStringList bands;
    for (const QsoRecord& record : f.session.log().records())
        bands << record.band().name();
    QCOMPARE(bands, QStringList({"2M", "70CM", "6M", "23CM", "12M", "30M", "6M"}));
    QCOMPARE(f.session.log().qso(0).srx, QStringLiteral("005JO90AB"));
}

void TestInterchangeCommands::cabrilloImportReadsOtherLoggersFiles() {
    CabrilloImport import({});
    const CabrilloImport::Result r = import.readFile(testDataFile("cabrillo_several_blanks_crlf.cbr"));
    QVERIFY(r.status.ok);
    QCOMPARE(r.lines.size(), 3);
    QCOMPARE(r.lines.at(0), TestQso().date("2007-05-12").time("12:05:00").call("DL1ABC").srx("017").line());
    QCOMPARE(r.lines.at(1),
             TestQso().date("2007-05-12").time("12:05:01").band("40M").call("OK1AA").stx("002").srx("018").line());
    QCOMPARE(r.lines.at(2),
             TestQso().date("2007-05-12").time("12:06:00").band("80M").call("G3ABC").stx("003").srx("019").line());
}

void TestInterchangeCommands::importedLinesWithOddDatesStillLoad() {
    // A date or time of another width must not move the band out of the columns the loader reads, or the
    // load would stop at that line and lose every contact after it.
    Fixture f;
    const QString cbr = f.folder.writeLines("odd.cbr", {"QSO: 14025 CW 2007-5-12 125 SP9XYZ 599 001 DL1ABC 599 017",
                                                        "QSO: 7010 C 2007-05-12 1206 SP9XYZ 599 002 OK1AA 599 018"});
    const auto fromCabrillo = InterchangeCommands::importCabrilloFile(f.session, cbr);
    QCOMPARE(fromCabrillo.imported, 2);
    QCOMPARE(f.session.reload().status, LoadResult::Status::Loaded);
    QCOMPARE(f.session.log().size(), 2);
    QStringList bands;
    for (const QString& line : f.folder.readLines("log.kvr"))
        bands << qsoOf(line).band.name();
    QCOMPARE(bands, QStringList({"20M", "40M"}));

    const QString adi =
        f.folder.writeLines("odd.adi", {"<QSO_DATE:6>240601 <TIME_ON:4>1200 <BAND:3>20M <MODE:2>CW <CALL:5>SP1AA <EOR>",
                                        "<TIME_ON:4>1201 <BAND:3>40M <MODE:2>CW <CALL:5>SP2BB <EOR>"});
    const auto fromAdif = InterchangeCommands::importAdifFile(f.session, adi);
    QCOMPARE(fromAdif.imported, 2);
    QCOMPARE(f.session.reload().status, LoadResult::Status::Loaded);
    QCOMPARE(f.session.log().size(), 2);
    bands.clear();
    for (const QString& line : f.folder.readLines("log.kvr"))
        bands << qsoOf(line).band.name();
    QCOMPARE(bands, QStringList({"20M", "40M"}));
}

void TestInterchangeCommands::backupCopyGoesToBackupLogs() {
    const QString old = TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD");
    Fixture f({old});
    const auto backup = InterchangeCommands::backupCurrentLog(f.session);
    QVERIFY(backup.status.ok);
    QCOMPARE(backup.path, QDir(f.folder.file("Backup_logs")).filePath("log_20240602_080910.txt"));
    QCOMPARE(f.folder.readLines("Backup_logs/log_20240602_080910.txt"), QStringList{old});
    // A second import in the same second keeps the first copy.
    f.folder.writeLines("log.kvr", {old, old});
    const auto second = InterchangeCommands::backupCurrentLog(f.session);
    QCOMPARE(second.path, QDir(f.folder.file("Backup_logs")).filePath("log_20240602_080910_2.txt"));
    QCOMPARE(f.folder.readLines("Backup_logs/log_20240602_080910.txt"), QStringList{old});
    QCOMPARE(f.folder.readLines("Backup_logs/log_20240602_080910_2.txt"), (QStringList{old, old}));
}

// Field data of other programs never breaks a line of the log, and a file that cannot be read to its end is
// refused whole, with the log as it was.
void TestInterchangeCommands::importsKeepTheLogLoadable_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("imported");
    QTest::addColumn<QString>("message");
    const QByteArray head("<QSO_DATE:8>20240601 <TIME_ON:4>1200 <BAND:3>20M <MODE:2>CW ");
    QTest::newRow("adif CR in the exchange") << "adif" << head + "<CALL:5>SP1AA <STX:10>R\r JO91RU <EOR>" << 1 << "";
    QTest::newRow("adif CR LF in the call") << "adif" << head + "<CALL:8>SP\r\n1ABCD <EOR>" << 1 << "";
    QTest::newRow("adif NUL and tab") << "adif" << head + "<CALL:6>SP" + '\0' + "\t1A <EOR>" << 1 << "";
    QTest::newRow("adif negative length")
        << "adif" << head + "<CALL:-6>SP1ABC <EOR>" << 0
        << "Plik ADIF jest uszkodzony: pole <CALL> w rekordzie nr 1 ma niewłaściwą długość \"-6\".";
    QTest::newRow("adif hexadecimal length")
        << "adif" << head + "<CALL:6>SP1ABC <EOR>" + head + "<CALL:0x6>SP2ABC <EOR>" << 0
        << "Plik ADIF jest uszkodzony: pole <CALL> w rekordzie nr 2 ma niewłaściwą długość \"0x6\".";
    QTest::newRow("adif huge length")
        << "adif" << head + "<CALL:99999999999999999999>SP1ABC <EOR>" << 0
        << "Plik ADIF jest uszkodzony: dane pola <CALL> w rekordzie nr 1 wykraczają poza koniec pliku.";
    QTest::newRow("adif length past the end")
        << "adif" << head + "<CALL:60>SP1ABC <EOR>" << 0
        << "Plik ADIF jest uszkodzony: dane pola <CALL> w rekordzie nr 1 wykraczają poza koniec pliku.";
    QTest::newRow("adif cut inside a field")
        << "adif" << head + "<CALL:6>SP1ABC <EOR>\r\n" + head + "<CALL:6>SP2A" << 0
        << "Plik ADIF jest uszkodzony: dane pola <CALL> w rekordzie nr 2 wykraczają poza koniec pliku.";
    QTest::newRow("adif cut inside a tag")
        << "adif" << head + "<CALL:6>SP1ABC <EOR>\r\n" + head + "<CALL:6" << 0
        << "Plik ADIF jest niekompletny: kończy się wewnątrz rekordu nr 2 (brak znacznika <EOR>).";
    QTest::newRow("adif cut after a field")
        << "adif" << head + "<CALL:6>SP1ABC <EOR>\r\n" + head << 0
        << "Plik ADIF jest niekompletny: kończy się wewnątrz rekordu nr 2 (brak znacznika <EOR>).";
    QTest::newRow("cabrillo tab and NUL")
        << "cabrillo" << QByteArray("QSO:\t14020 CW 2024-06-01 1200 SP9XYZ\t599 001 SP1") + '\0' + "AA 599 007\r\n"
        << 1 << "";
}
void TestInterchangeCommands::importsKeepTheLogLoadable() {
    QFETCH(QString, format);
    QFETCH(QByteArray, file);
    QFETCH(int, imported);
    QFETCH(QString, message);
    const QString old = TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD");
    Fixture f({old});
    const QByteArray before = fileBytes(f.session.logPath());
    const QString path = f.folder.writeBytes("in.txt", file);
    const auto outcome = format == QLatin1String("adif") ? InterchangeCommands::importAdifFile(f.session, path)
                                                         : InterchangeCommands::importCabrilloFile(f.session, path);
    QCOMPARE(outcome.imported, imported);
    if (!message.isEmpty()) {
        QVERIFY(!outcome.changed);
        QCOMPARE(f.dialogs.lastText(), message + QStringLiteral("\n\nImport danych został przerwany."));
        QCOMPARE(fileBytes(f.session.logPath()), before);
        return;
    }
    QVERIFY(outcome.changed);
    const QByteArray after = fileBytes(f.session.logPath());
    QCOMPARE(after.count('\n'), format == QLatin1String("adif") ? 1 : 2);
    for (const char c : after)
        QVERIFY2(uchar(c) >= 0x20 || c == '\r' || c == '\n', after.constData());
    QVERIFY(f.session.reload().complete());
}

// An import is refused, the log left as it was found, when the log is broken behind the program's back (another
// program wrote a bad line after it was read: it is read again first), when it stopped loading at a cut line (the
// contacts after it are not in memory), or when the file gives no contact.
void TestInterchangeCommands::importThatDoesNotLoadPutsTheOldLogBack_data() {
    QTest::addColumn<QByteArray>("logTail");
    QTest::addColumn<bool>("readBeforeTheImport");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    const QString cut = TestQso().date("2023-01-01").time("10:01:00").band("80M").call("SP7CUT").srx("002");
    const QByteArray good("QSO: 14020 CW 2024-06-01 1200 SP9XYZ 599 001 SP1AA 599 007\r\n");
    QTest::newRow("bad line written after the log was read")
        << QByteArray("2023-01-01 100100  XX CW 599\r\n") << false << good << LogEdit::incompleteLogMessage();
    QTest::newRow("log that stopped loading at a cut line")
        << cut.left(60).toLatin1() << true << good << LogEdit::incompleteLogMessage();
    QTest::newRow("empty file") << QByteArray() << false << QByteArray()
                                << InterchangeCommands::noCabrilloLinesMessage();
    QTest::newRow("NUL bytes") << QByteArray() << false << QByteArray(500, '\0')
                               << InterchangeCommands::noCabrilloLinesMessage();
    QTest::newRow("every QSO line unusable")
        << QByteArray() << false
        << QByteArray("START-OF-LOG: 3.0\r\nQSO: 14025 CW\r\nQSO: 222 CW 2024-06-01 1200 SP9XYZ 599 1 SP1AA 599 2\r\n")
        << InterchangeCommands::nothingToImportMessage(
               {"Linia 2 pominięta: linia kończy się przed znakiem korespondenta",
                "Linia 3 pominięta: częstotliwość \"222\" nie leży w żadnym paśmie programu"});
}

void TestInterchangeCommands::importThatDoesNotLoadPutsTheOldLogBack() {
    QFETCH(QByteArray, logTail);
    QFETCH(bool, readBeforeTheImport);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    Fixture f({TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD").srx("001")});
    const QByteArray before = fileBytes(f.session.logPath()) + logTail;
    f.folder.writeBytes("log.kvr", before);
    if (readBeforeTheImport)
        QCOMPARE(f.session.reload().status, LoadResult::Status::FormatError);
    f.dialogs.fileAnswers = {f.folder.writeBytes("in.cbr", file)};
    QVERIFY(!InterchangeCommands::importCabrillo(f.session).changed);
    QCOMPARE(f.dialogs.lastText(), message);
    QCOMPARE(fileBytes(f.session.logPath()), before);
    QVERIFY(!QFileInfo::exists(f.session.logPath() + QLatin1Char('~')));
}

void TestInterchangeCommands::importMessageNamesRecordsChangedAndLeftOut() {
    Fixture f;
    f.dialogs.fileAnswers = {f.folder.writeBytes("in.adi", adifRecord("<BAND:3>20M <MODE:2>CW <CALL:8>SP\r\n1ABC") +
                                                               adifRecord("<BAND:3>20M <CALL:5>SP3CC") +
                                                               adifRecord("<BAND:3>20M <MODE:3>SSB"))};
    QVERIFY(InterchangeCommands::importAdif(f.session, {}).changed);
    QCOMPARE(f.dialogs.texts(), QStringList{"Zaimportowano łączności: 1\nPominięto: 2\n\n"
                                            "Rekord 1: pole CALL zawierało znaki sterujące – poprawiono\n"
                                            "Rekord 2 pominięty: brak emisji (MODE)\n"
                                            "Rekord 3 pominięty: brak znaku korespondenta (CALL)"});
}

// The message shows the first twenty notes and counts the rest.
void TestInterchangeCommands::noteListShowsTheFirstTwenty() {
    QStringList all;
    for (int i = 1; i <= 1000; ++i)
        all.append(AdifImport::skippedRecordNote(i, {QStringLiteral("brak emisji (MODE)")}));
    const QStringList shown = InterchangeCommands::noteList(all).split(QLatin1Char('\n'));
    QCOMPARE(shown, all.mid(0, 20) + QStringList{"… i 980 innych"});
}

// A program killed during the import must find the old log or the whole import: the log is never written in
// place, so a reader that opened it before still reads the old contacts whole.
void TestInterchangeCommands::cabrilloImportWritesANewFileInsteadOfAppending() {
    Fixture f({TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD")});
    // A log whose last line lost its line break to another program still gets the contacts on lines of their own.
    const QByteArray before = fileBytes(f.session.logPath()).chopped(2);
    f.folder.writeBytes("log.kvr", before);
    QFile reader(f.session.logPath());
    QVERIFY(reader.open(QIODevice::ReadOnly));
    const QString in = f.folder.writeLines("in.cbr", {"QSO: 14020 CW 2024-06-01 1200 SP9XYZ 599 001 SP1AA 599 007",
                                                      "QSO: 14020 CW 2024-06-01 1201 SP9XYZ 599 002 SP2BB 599 008"});
    QVERIFY(InterchangeCommands::importCabrilloFile(f.session, in).changed);
    QCOMPARE(reader.readAll(), before);
    QCOMPARE(f.folder.readLines("log.kvr").size(), 3);
    QCOMPARE(fileBytes(f.session.logPath() + QLatin1Char('~')), before);
}

// Contacts without a serial do not restart the count; a VHF serial is read in front of the locator.
void TestInterchangeCommands::serialAfterImportFollowsTheLastContactWithASerial() {
    const TestQso qso = TestQso().band("2M");
    Fixture f({qso.time("10:00:00").stx("009 KO02MD"), qso.time("10:01:00").stx("")});
    QCOMPARE(InterchangeCommands::serialAfterImport(f.session, true, 2), std::optional<QString>("10"));
}

// Another kvrlog-cli run may take a name between this run's look and its write: the name is taken by creating
// its file at once, so the next run gets the next number.
void TestInterchangeCommands::backupNameIsTakenWhenItIsChosen() {
    Fixture f({TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD")});
    const QString folder = f.folder.file("Backup_logs");
    QDir().mkpath(folder);
    QVERIFY(QFileInfo::exists(LogFile::freeBackupBase(folder, "log_20240602_080910", {".txt"}) + ".txt"));
    QCOMPARE(InterchangeCommands::backupCurrentLog(f.session).path, QDir(folder).filePath("log_20240602_080910_2.txt"));
}

QTEST_GUILESS_MAIN(TestInterchangeCommands)
#include "tst_interchange_commands.moc"
