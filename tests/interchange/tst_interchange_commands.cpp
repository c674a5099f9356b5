#include "core/logfile.h"
#include "core/qsoline.h"
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
    void importThatDoesNotLoadPutsTheOldLogBack();
    void importMessageNamesRecordsChangedAndLeftOut();
    void noteListShowsTheFirstTwenty_data();
    void noteListShowsTheFirstTwenty();
    void cabrilloImportRefusesFilesWithoutContacts_data();
    void cabrilloImportRefusesFilesWithoutContacts();
    void cabrilloImportWritesANewFileInsteadOfAppending();
    void cabrilloImportRefusesALogThatDidNotLoadWhole();
    void serialAfterImportFollowsTheLastContactWithASerial_data();
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
    const QString& first = lines.at(1);
    QCOMPARE(QsoLine::column(first, QsoColumns::Band), QStringLiteral(" 20M"));
    QCOMPARE(QsoLine::column(first, QsoColumns::RstSentCell), QStringLiteral("599 "));
    QCOMPARE(QsoLine::column(first, QsoColumns::Stx), QStringLiteral("        001"));
    QCOMPARE(first.mid(62, 11), QStringLiteral("        017"));
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
    QCOMPARE(QsoLine(r.lines.at(0)).time(), QStringLiteral("100000"));
    QCOMPARE(QsoLine(r.lines.at(58)).time(), QStringLiteral("100058"));
    QCOMPARE(QsoLine(r.lines.at(59)).time(), QStringLiteral("100059"));
    QCOMPARE(QsoLine(r.lines.at(61)).time(), QStringLiteral("100059"));
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
    QCOMPARE(CabrilloImport::bandOf(frequency), band);
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
    for (const QString& line : f.session.log().lines())
        bands << QsoLine(line).band().toString();
    QCOMPARE(bands, QStringList({"2M", "70CM", "6M", "23CM", "12M", "30M", "6M"}));
    QCOMPARE(QsoLine(f.session.log().line(0)).srx(), QStringLiteral("005JO90AB"));
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
        bands << QsoLine::column(line, QsoColumns::Band).toString();
    QCOMPARE(bands, QStringList({" 20M", " 40M"}));

    const QString adi =
        f.folder.writeLines("odd.adi", {"<QSO_DATE:6>240601 <TIME_ON:4>1200 <BAND:3>20M <MODE:2>CW <CALL:5>SP1AA <EOR>",
                                        "<TIME_ON:4>1201 <BAND:3>40M <MODE:2>CW <CALL:5>SP2BB <EOR>"});
    const auto fromAdif = InterchangeCommands::importAdifFile(f.session, adi);
    QCOMPARE(fromAdif.imported, 2);
    QCOMPARE(f.session.reload().status, LoadResult::Status::Loaded);
    QCOMPARE(f.session.log().size(), 2);
    bands.clear();
    for (const QString& line : f.folder.readLines("log.kvr"))
        bands << QsoLine::column(line, QsoColumns::Band).toString();
    QCOMPARE(bands, QStringList({" 20M", " 40M"}));
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

// A log broken behind the program's back (another program wrote a bad line after it was read) is read again
// before the import: the import is refused and leaves the file as it found it.
void TestInterchangeCommands::importThatDoesNotLoadPutsTheOldLogBack() {
    const QString old = TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD");
    Fixture f({old});
    const QByteArray broken = fileBytes(f.session.logPath()) + "2023-01-01 100100  XX CW 599\r\n";
    f.folder.writeBytes("log.kvr", broken);
    const QString path = f.folder.writeLines("in.cbr", {"QSO: 14020 CW 2024-06-01 1200 SP9XYZ 599 001 SP1AA 599 007"});
    const auto outcome = InterchangeCommands::importCabrilloFile(f.session, path);
    QVERIFY(!outcome.changed);
    QVERIFY(f.dialogs.texts().contains(LogEdit::incompleteLogMessage()));
    QCOMPARE(fileBytes(f.session.logPath()), broken);
}

void TestInterchangeCommands::importMessageNamesRecordsChangedAndLeftOut() {
    Fixture f;
    const QByteArray head("<QSO_DATE:8>20240601 <TIME_ON:4>1200 <BAND:3>20M ");
    f.dialogs.fileAnswers = {
        f.folder.writeBytes("in.adi", head + "<MODE:2>CW <CALL:5>SP1AA <STX:3>041 <EOR>\r\n" + head +
                                          "<MODE:2>CW <CALL:8>SP\r\n1ABC <STX:3>042 <EOR>\r\n" + head +
                                          "<CALL:5>SP3CC <EOR>\r\n" + head + "<MODE:3>SSB <EOR>\r\n")};
    const auto outcome = InterchangeCommands::importAdif(f.session, {});
    QVERIFY(outcome.changed);
    QCOMPARE(f.dialogs.texts(), QStringList{"Zaimportowano łączności: 2\nPominięto: 2\n\n"
                                            "Rekord 2: pole CALL zawierało znaki sterujące – poprawiono\n"
                                            "Rekord 3 pominięty: brak emisji (MODE)\n"
                                            "Rekord 4 pominięty: brak znaku korespondenta (CALL)"});
    QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Informacja"));
    QCOMPARE(f.session.log().size(), 2);
    QCOMPARE(QsoLine(f.session.log().line(1)).call(), QStringLiteral("SP  1ABC"));
}

void TestInterchangeCommands::noteListShowsTheFirstTwenty_data() {
    QTest::addColumn<int>("notes");
    QTest::addColumn<QString>("last");
    QTest::newRow("one") << 1 << "Rekord 1 pominięty: brak emisji (MODE)";
    QTest::newRow("twenty") << 20 << "Rekord 20 pominięty: brak emisji (MODE)";
    QTest::newRow("twenty-one") << 21 << "… i 1 innych";
    QTest::newRow("a thousand") << 1000 << "… i 980 innych";
}

void TestInterchangeCommands::noteListShowsTheFirstTwenty() {
    QFETCH(int, notes);
    QFETCH(QString, last);
    QStringList all;
    for (int i = 1; i <= notes; ++i)
        all.append(AdifImport::skippedRecordNote(i, {QStringLiteral("brak emisji (MODE)")}));
    const QStringList shown = InterchangeCommands::noteList(all).split(QLatin1Char('\n'));
    QCOMPARE(shown.size(), std::min(notes, 21));
    QCOMPARE(shown.first(), all.first());
    QCOMPARE(shown.last(), last);
}

// A file that gives no contact is refused with its reason and leaves the log as it was, as the ADIF import does.
void TestInterchangeCommands::cabrilloImportRefusesFilesWithoutContacts_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    const QString noLines = InterchangeCommands::noCabrilloLinesMessage();
    QByteArray random;
    for (int i = 0; i < 2048; ++i)
        random.append(char((i * 7919 + 13) % 256));
    QTest::newRow("empty file") << QByteArray() << noLines;
    QTest::newRow("random bytes") << random << noLines;
    QTest::newRow("NUL bytes") << QByteArray(500, '\0') << noLines;
    QTest::newRow("header only") << QByteArray("START-OF-LOG: 3.0\r\nCALLSIGN: SP9XYZ\r\nEND-OF-LOG:\r\n") << noLines;
    QTest::newRow("every QSO line unusable")
        << QByteArray("START-OF-LOG: 3.0\r\nQSO: 14025 CW\r\nQSO: 222 CW 2024-06-01 1200 SP9XYZ 599 1 SP1AA 599 2\r\n")
        << InterchangeCommands::nothingToImportMessage(
               {"Linia 2 pominięta: linia kończy się przed znakiem korespondenta",
                "Linia 3 pominięta: częstotliwość \"222\" nie leży w żadnym paśmie programu"});
}

void TestInterchangeCommands::cabrilloImportRefusesFilesWithoutContacts() {
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    Fixture f({TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD")});
    const QByteArray before = fileBytes(f.session.logPath());
    f.dialogs.fileAnswers = {f.folder.writeBytes("in.cbr", file)};
    const auto outcome = InterchangeCommands::importCabrillo(f.session);
    QVERIFY(!outcome.changed);
    QCOMPARE(f.dialogs.texts(), QStringList{message});
    QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Błąd"));
    QVERIFY(message.endsWith(QStringLiteral("\n\nImport danych został przerwany.")));
    QCOMPARE(fileBytes(f.session.logPath()), before);
    QVERIFY(!QFileInfo::exists(f.session.logPath() + QLatin1Char('~')));
}

// A program killed during the import must find the old log or the whole import: the log is never written in
// place, so a reader that opened it before still reads the old contacts whole.
void TestInterchangeCommands::cabrilloImportWritesANewFileInsteadOfAppending() {
    const QString old = TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD");
    Fixture f({old});
    // A log whose last line lost its line break to another program still gets the contacts on lines of their own.
    const QByteArray before = fileBytes(f.session.logPath()).chopped(2);
    f.folder.writeBytes("log.kvr", before);
    QFile reader(f.session.logPath());
    QVERIFY(reader.open(QIODevice::ReadOnly));
    const QString in = f.folder.writeLines("in.cbr", {"QSO: 14020 CW 2024-06-01 1200 SP9XYZ 599 001 SP1AA 599 007",
                                                      "QSO: 14020 CW 2024-06-01 1201 SP9XYZ 599 002 SP2BB 599 008"});
    const auto outcome = InterchangeCommands::importCabrilloFile(f.session, in);
    QVERIFY(outcome.changed);
    QCOMPARE(reader.readAll(), before);
    const QStringList lines = f.folder.readLines("log.kvr");
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.first(), old);
    QCOMPARE(QsoLine(lines.at(2)).call(), QStringLiteral("SP2BB"));
    QCOMPARE(fileBytes(f.session.logPath() + QLatin1Char('~')), before);
}

void TestInterchangeCommands::cabrilloImportRefusesALogThatDidNotLoadWhole() {
    const QString first = TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD").srx("001");
    const QString cut = TestQso().date("2023-01-01").time("10:01:00").band("80M").call("SP7CUT").srx("002");
    Fixture f;
    const QByteArray broken = (first + "\r\n" + cut.left(60)).toLatin1();
    f.folder.writeBytes("log.kvr", broken);
    f.dialogs.messages.clear();
    QCOMPARE(f.session.reload().status, LoadResult::Status::FormatError);
    const QString in = f.folder.writeLines("in.cbr", {"QSO: 14020 CW 2024-06-01 1200 SP9XYZ 599 001 SP1AA 599 007"});
    const auto outcome = InterchangeCommands::importCabrilloFile(f.session, in);
    QVERIFY(!outcome.changed);
    QCOMPARE(f.dialogs.lastText(), LogEdit::incompleteLogMessage());
    QCOMPARE(fileBytes(f.session.logPath()), broken);
}

void TestInterchangeCommands::serialAfterImportFollowsTheLastContactWithASerial_data() {
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("serial");
    const TestQso qso = TestQso().date("2024-06-01").band("80M").call("SP1AA");
    QTest::newRow("last contact has a serial")
        << QStringList{qso.time("10:00:00").stx("016"), qso.time("10:01:00").stx("017")} << 3 << "018";
    QTest::newRow("last contact without STX")
        << QStringList{qso.time("10:00:00").stx("041"), qso.time("10:01:00").stx("042"), qso.time("10:02:00").stx("")}
        << 3 << "043";
    QTest::newRow("VHF serial before the locator, two digits")
        << QStringList{qso.time("10:00:00").band("2M").stx("009 KO02MD"), qso.time("10:01:00").stx("")} << 2 << "10";
    QTest::newRow("no contact carries a serial") << QStringList{qso.time("10:00:00").stx("")} << 3 << "001";
    QTest::newRow("empty log") << QStringList{} << 2 << "01";
}

void TestInterchangeCommands::serialAfterImportFollowsTheLastContactWithASerial() {
    QFETCH(QStringList, log);
    QFETCH(int, digits);
    QFETCH(QString, serial);
    Fixture f;
    const QByteArray head("<QSO_DATE:8>20240601 <MODE:2>CW <CALL:5>SP1AA ");
    QByteArray adif;
    for (const QString& line : log) {
        const QString stx = QsoLine(line).stx().toString();
        adif += head + "<TIME_ON:6>" + QsoLine(line).time().toLatin1() +
                " <BAND:" + QByteArray::number(QsoLine(line).band().size()) + ">" + QsoLine(line).band().toLatin1();
        if (!stx.isEmpty())
            adif += " <STX:" + QByteArray::number(stx.size()) + ">" + stx.toLatin1();
        adif += " <EOR>\r\n";
    }
    if (!log.isEmpty())
        QVERIFY(InterchangeCommands::importAdifFile(f.session, f.folder.writeBytes("in.adi", adif)).changed);
    QCOMPARE(f.session.log().size(), log.size());
    QCOMPARE(InterchangeCommands::serialAfterImport(f.session, true, digits), std::optional<QString>(serial));
    QCOMPARE(InterchangeCommands::serialAfterImport(f.session, false, digits), std::nullopt);
}

// Another kvrlog-cli run may take a name between this run's look and its write: the name is taken by creating
// its file at once, so the second run gets the next number.
void TestInterchangeCommands::backupNameIsTakenWhenItIsChosen() {
    const QString old = TestQso().date("2023-01-01").time("10:00:00").band("80M").call("SP7OLD");
    Fixture f({old});
    const QString folder = f.folder.file("Backup_logs");
    QDir().mkpath(folder);
    const QString taken = LogFile::freeBackupBase(folder, "log_20240602_080910", {".txt"});
    QCOMPARE(taken, QDir(folder).filePath("log_20240602_080910"));
    QVERIFY(QFileInfo::exists(taken + ".txt"));
    QCOMPARE(LogFile::freeBackupBase(folder, "log_20240602_080910", {".txt"}),
             QDir(folder).filePath("log_20240602_080910_2"));
    const auto backup = InterchangeCommands::backupCurrentLog(f.session);
    QVERIFY(backup.status.ok);
    QCOMPARE(backup.path, QDir(folder).filePath("log_20240602_080910_3.txt"));
    QCOMPARE(f.folder.readLines("Backup_logs/log_20240602_080910_3.txt"), QStringList{old});
}

QTEST_GUILESS_MAIN(TestInterchangeCommands)
#include "tst_interchange_commands.moc"
