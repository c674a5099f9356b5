#include "interchange/cabrilloexport.h"
#include "interchange/cabrilloimport.h"
#include "settings/inifile.h"
#include "testqso.h"
#include "testsupport.h"

#include <QTest>

class TestCabrillo : public QObject {
    Q_OBJECT
private slots:
    void domesticHeaderHasTheTwoPointZeroTags();
    void internationalHeaderWritesOptionalLinesOnlyWhenChosen();
    void qsoLineHasTheFixedColumns_data();
    void qsoLineHasTheFixedColumns();
    void warcContactsAreNeverExported();
    void longContestCallIsCutInQsoLinesOnly();
    void reportsKeepTheirFieldWidth();
    void iotaExchangeIsSplitIntoSerialAndReference_data();
    void iotaExchangeIsSplitIntoSerialAndReference();
    void iotaLinesUseTheFormattedExchanges();
    void settingsRoundTripThroughTheSettingsFile();
    void settingsWithoutFileStartAtTwoPointZero();
    void exportThenImportGivesTheSameContacts();
    void qsoLinesThatCannotBeContactsAreNamedByLine_data();
    void qsoLinesThatCannotBeContactsAreNamedByLine();
};

static CabrilloHeader header3() {
    CabrilloHeader h;
    h.version3 = true;
    h.contestName = QStringLiteral("CQ-WW-CW");
    h.callsign = QStringLiteral("SP9XYZ");
    h.categoryOperator = QStringLiteral("SINGLE-OP");
    h.transmitter = QStringLiteral("ONE");
    h.power = QStringLiteral("LOW");
    h.band = QStringLiteral("ALL ");
    h.mode = QStringLiteral("MIXED");
    h.assisted = QStringLiteral("NON-ASSISTED");
    h.station = QStringLiteral("FIXED ");
    h.location = QStringLiteral("DX");
    h.name = QStringLiteral("Jan Kowalski");
    h.address1 = QStringLiteral("ul. Długa 1");
    return h;
}

void TestCabrillo::domesticHeaderHasTheTwoPointZeroTags() {
    CabrilloHeader h;
    h.domesticContest = QStringLiteral("SP DX");
    h.callsign = QStringLiteral("SP9XYZ");
    h.category = QStringLiteral("A KF");
    h.locator = QStringLiteral("KO02MD");
    h.province = QStringLiteral("K");
    h.club = QStringLiteral("SP9KAT");
    h.claimed = QStringLiteral("1234");
    h.operators = QStringLiteral("SP9XYZ");
    h.email = QStringLiteral("a@b.pl");
    h.name = QStringLiteral("Jan");
    h.address1 = QStringLiteral("ul. Długa 1");
    h.address3 = QStringLiteral("Poland");
    h.remarks = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")};
    const QStringList expected = {"START-OF-LOG: 2.0", "CONTEST: SP DX",
                                  "CALLSIGN: SP9XYZ",  "CATEGORY: A KF",
                                  "LOCATOR: KO02MD",   "PROVINCE: K",
                                  "CLUB: SP9KAT",      "CLAIMED-SCORE: 1234",
                                  "OPERATORS: SP9XYZ", "EMAIL: a@b.pl",
                                  "NAME: Jan",         "ADDRESS: ul. Długa 1",
                                  "ADDRESS: Poland",   "CREATED-BY: KVR_Log v. " + buildVersion(),
                                  "SOAPBOX: one",      "SOAPBOX: two",
                                  "SOAPBOX: three"};
    QCOMPARE(CabrilloExport::headerLines(h), expected);
}

void TestCabrillo::internationalHeaderWritesOptionalLinesOnlyWhenChosen() {
    CabrilloHeader h = header3();
    QStringList lines = CabrilloExport::headerLines(h);
    QCOMPARE(
        lines.mid(0, 11),
        QStringList({"START-OF-LOG: 3.0", "CONTEST: CQ-WW-CW", "CALLSIGN: SP9XYZ", "CATEGORY-OPERATOR: SINGLE-OP",
                     "CATEGORY-TRANSMITTER: ONE", "CATEGORY-POWER: LOW", "CATEGORY-BAND: ALL ", "CATEGORY-MODE: MIXED",
                     "CATEGORY-ASSISTED: NON-ASSISTED", "CATEGORY-STATION: FIXED ", "LOCATION: DX"}));
    QVERIFY(!lines.join('\n').contains("CATEGORY-TIME"));
    QVERIFY(!lines.join('\n').contains("CATEGORY-OVERLAY"));
    QCOMPARE(lines.filter("SOAPBOX").size(), 1);
    QCOMPARE(lines.last(), QStringLiteral("SOAPBOX: "));
    QCOMPARE(lines.filter("ADDRESS:").size(), 1);

    h.time = CabrilloLists::item(CabrilloLists::time(), 2);
    h.overlay = CabrilloLists::item(CabrilloLists::overlay(), 1);
    lines = CabrilloExport::headerLines(h);
    QCOMPARE(lines.at(10), QStringLiteral("CATEGORY-TIME: 12-HOURS "));
    QCOMPARE(lines.at(11), QStringLiteral("LOCATION: DX"));
    QCOMPARE(lines.at(12), QStringLiteral("CATEGORY-OVERLAY: ROOKIE"));
}

void TestCabrillo::qsoLineHasTheFixedColumns_data() {
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("frequency");
    QTest::newRow("160M") << "160M"
                          << " 1800";
    QTest::newRow("80M") << "80M"
                         << " 3500";
    QTest::newRow("40M") << "40M"
                         << " 7000";
    QTest::newRow("20M") << "20M"
                         << "14000";
    QTest::newRow("15M") << "15M"
                         << "21000";
    QTest::newRow("10M") << "10M"
                         << "28000";
    QTest::newRow("6M") << "6M"
                        << "50000";
    QTest::newRow("2M") << "2M"
                        << "  144";
    QTest::newRow("70CM") << "70CM"
                          << "  432";
    QTest::newRow("23CM") << "23CM"
                          << " 1200";
}

void TestCabrillo::qsoLineHasTheFixedColumns() {
    QFETCH(QString, band);
    QFETCH(QString, frequency);
    const Qso qso = TestQso().time("12:34:56").band(band).call("sp1abc").srx("12-sic").suffix(" SIC").qso();
    const QString out = CabrilloExport::qsoLine(qso, "SP9XYZ", false);
    QCOMPARE(out.mid(0, 5), QStringLiteral("QSO: "));
    QCOMPARE(out.mid(5, 5), frequency);
    QCOMPARE(out.mid(11, 2), QStringLiteral("CW"));
    QCOMPARE(out.mid(14, 10), QStringLiteral("2024-06-01"));
    QCOMPARE(out.mid(25, 4), QStringLiteral("1234"));
    QCOMPARE(out.mid(30, 13), QStringLiteral("SP9XYZ       "));
    QCOMPARE(out.mid(44, 4), QStringLiteral("599 "));
    QCOMPARE(out.mid(48, 11), QStringLiteral("        001"));
    QCOMPARE(out.mid(60, 16), QStringLiteral("SP1ABC          "));
    QCOMPARE(out.mid(76, 4), QStringLiteral("599 "));
    QCOMPARE(out.mid(80, 11), QStringLiteral("     12 SIC"));
    QCOMPARE(out.size(), 91); // nothing after the received exchange: no suffix
}

void TestCabrillo::warcContactsAreNeverExported() {
    const std::vector<QsoRecord> log = {TestQso().time("12:00:00").band("30M").call("SP1AA").record(),
                                        TestQso().time("12:01:00").band("17M").call("SP1AA").record(),
                                        TestQso().time("12:02:00").band("12M").call("SP1AA").record()};
    QStringList lines = CabrilloExport::lines(header3(), log);
    QCOMPARE(lines.filter("QSO:").size(), 0);
    QCOMPARE(lines.last(), QStringLiteral("END-OF-LOG:"));
}

void TestCabrillo::longContestCallIsCutInQsoLinesOnly() {
    CabrilloHeader h = header3();
    h.callsign = QStringLiteral("SP9XYZ/P/QRP/X1");
    const QStringList lines = CabrilloExport::lines(h, testRecords({TestQso().time("12:00:00").call("SP1AA")}));
    QVERIFY(lines.contains("CALLSIGN: SP9XYZ/P/QRP/X1"));
    QCOMPARE(lines.filter("QSO:").first().mid(30, 14), QStringLiteral("SP9XYZ/P/QRP/ "));
}

void TestCabrillo::reportsKeepTheirFieldWidth() {
    const QString out = CabrilloExport::qsoLine(
        TestQso().time("12:00:00").band("80M").mode("PH").rst("59").call("SP1AA").stx("1").srx("5").qso(), "X", false);
    QCOMPARE(out.mid(44, 4), QStringLiteral("59  "));
    QCOMPARE(out.mid(76, 4), QStringLiteral("59  "));
    QCOMPARE(out.mid(11, 2), QStringLiteral("PH"));
}

void TestCabrillo::iotaExchangeIsSplitIntoSerialAndReference_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("serial and full reference") << "    12EU005"
                                               << "  12 EU-005 ";
    QTest::newRow("blanks and short reference") << "    7 EU 5"
                                                << "   7 EU-005 ";
    QTest::newRow("serial only") << "        123"
                                 << " 123 ------ ";
    QTest::newRow("bare continent") << "       9EU"
                                    << "   9 EU-000 ";
    QTest::newRow("first continent of the list wins") << "  001NA123"
                                                      << " 001 NA-123 ";
    QTest::newRow("long serial keeps its last four") << "123456OC001"
                                                     << "3456 OC-001 ";
    QTest::newRow("longer reference unchanged") << "    1EU0051"
                                                << "   1 EU0051 ";
}

void TestCabrillo::iotaExchangeIsSplitIntoSerialAndReference() {
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(CabrilloExport::iotaExchange(field), expected);
}

void TestCabrillo::iotaLinesUseTheFormattedExchanges() {
    CabrilloHeader h = header3();
    h.contestName = QStringLiteral("RSGB-IOTA");
    const QString line = TestQso().date("2024-07-27").time("12:00:00").call("G3ABC").stx("12EU005").srx("7EU5");
    const QStringList lines = CabrilloExport::lines(h, testRecords({line}));
    const QString out = lines.filter("QSO:").first();
    QCOMPARE(out.mid(43), QStringLiteral(" 599   12 EU-005 G3ABC         599    7 EU-005 "));
}

void TestCabrillo::settingsRoundTripThroughTheSettingsFile() {
    TempProgramFolder folder;
    CabrilloSettings s;
    s.version3 = true;
    s.contest = 40;
    s.categoryOperator = 2;
    s.transmitter = 3;
    s.assisted = 0;
    s.band = 12;
    s.mode = 1;
    s.power = 2;
    s.time = 3;
    s.station = 6;
    s.overlay = 4;
    s.operators = QStringLiteral("SP9XYZ SP9ABC");
    s.domesticContest = QStringLiteral("Zawody Świętego Mikołaja");
    s.club = QStringLiteral("SP9KAT");
    s.remarks = {QStringLiteral("a"), QStringLiteral("b")};
    s.category = QStringLiteral("UKF");
    {
        IniFile ini(folder.file("kvr_log.ini"));
        s.write(ini);
    }
    IniFile ini(folder.file("kvr_log.ini"));
    QCOMPARE(ini.readString("Cabrillo", "Uwagi", {}), QStringLiteral("a|b"));
    QCOMPARE(ini.readString("Cabrillo", "Wersja", {}), QStringLiteral("3.0"));
    const CabrilloSettings r = CabrilloSettings::read(ini, "SP9OP");
    QCOMPARE(r.version3, true);
    QCOMPARE(r.contest, 40);
    QCOMPARE(r.overlay, 4);
    QCOMPARE(r.station, 6);
    QCOMPARE(r.remarks, s.remarks);
    QCOMPARE(r.operators, s.operators);
    QCOMPARE(r.domesticContest, s.domesticContest);

    IniFile other(folder.file("other.ini"));
    other.writeString("Cabrillo", "Operatorzy", "");
    QCOMPARE(CabrilloSettings::read(other, "SP9OP").operators, QStringLiteral("SP9OP"));
    QCOMPARE(CabrilloSettings::read(other, "SP9OP").version3, true); // no "Wersja": 3.0
}

void TestCabrillo::settingsWithoutFileStartAtTwoPointZero() {
    TempProgramFolder folder;
    const IniFile ini(folder.file("kvr_log.ini"));
    const CabrilloSettings s = CabrilloSettings::read(ini, "SP9OP");
    QCOMPARE(s.version3, false);
    QCOMPARE(s.assisted, 1);
    QCOMPARE(s.mode, 3);
    QCOMPARE(s.power, 1);
    QCOMPARE(s.operators, QStringLiteral("SP9OP"));
}

void TestCabrillo::exportThenImportGivesTheSameContacts() {
    const QStringList log = {
        TestQso().time("12:00:00").band("160M").call("SP1AA").srx("012"),
        TestQso().time("12:00:01").mode("PH").rstSent("59").rstRcvd("57").call("DL1ABC").stx("002").srx("SIC"),
        TestQso().time("12:01:00").band("2M").mode("FM").rst("59").call("SP2BB").stx("003KO02MD").srx("005JO90AB"),
        TestQso().time("12:02:00").band("70CM").call("SP3CC").stx("004KO02MD").srx("007JO91CD"),
        TestQso().time("12:03:00").band("23CM").call("SP4DD").stx("005").srx("009"),
        TestQso().time("12:04:00").band("6M").call("SP5EE").stx("006").srx("010"),
    };
    const QStringList lines = CabrilloExport::lines(header3(), testRecords(log));
    CabrilloImport import({});
    const CabrilloImport::Result back = import.parse(lines.join("\r\n"));
    QCOMPARE(back.skipped, 0);
    QCOMPARE(back.lines.size(), log.size());
    for (qsizetype i = 0; i < back.lines.size(); ++i) {
        const Qso a = qsoOf(log.at(i));
        const Qso b = qsoOf(back.lines.at(i));
        QCOMPARE(back.lines.at(i).size(), 74);
        QCOMPARE(b.date, a.date);
        QCOMPARE(b.time.left(4), a.time.left(4));
        QCOMPARE(b.band, a.band);
        QCOMPARE(b.mode, a.mode);
        QCOMPARE(b.rstSent, a.rstSent);
        QCOMPARE(b.call, a.call);
        QCOMPARE(b.rstRcvd, a.rstRcvd);
        QCOMPARE(b.srx, a.srx);
        QCOMPARE(b.stx, a.stx);
    }
    // Same minute in the file: the seconds keep them apart.
    QCOMPARE(qsoOf(back.lines.at(0)).time, QStringLiteral("120000"));
    QCOMPARE(qsoOf(back.lines.at(1)).time, QStringLiteral("120001"));
}

void TestCabrillo::qsoLinesThatCannotBeContactsAreNamedByLine_data() {
    QTest::addColumn<QString>("bad");
    QTest::addColumn<QString>("note");
    const QString cut = QStringLiteral("Linia 3 pominięta: linia kończy się przed znakiem korespondenta");
    QTest::newRow("cut after the frequency") << "QSO: 14025" << cut;
    QTest::newRow("cut after the sent exchange") << "QSO: 14025 CW 2024-06-01 1205 SP9XYZ 599 002" << cut;
    QTest::newRow("received exchange of two words")
        << "QSO: 14025 CW 2024-06-01 1205 SP9XYZ 599 003 004 DL3AAA 599 005"
        << "Linia 3 pominięta: w miejscu znaku korespondenta jest \"004\" (wymiana z kilku słów?)";
    QTest::newRow("no frequency") << "QSO:"
                                  << "Linia 3 pominięta: brak częstotliwości";
    QTest::newRow("frequency on no band")
        << "QSO: 222 CW 2024-06-01 1205 SP9XYZ 599 003 DL3AAA 599 005"
        << "Linia 3 pominięta: częstotliwość \"222\" nie leży w żadnym paśmie programu";
}

void TestCabrillo::qsoLinesThatCannotBeContactsAreNamedByLine() {
    QFETCH(QString, bad);
    QFETCH(QString, note);
    // CR LF ends one line: the number is the one an editor shows.
    const CabrilloImport::Result r = CabrilloImport({}).parse(
        "START-OF-LOG: 3.0\r\nQSO: 14025 CW 2024-06-01 1200 SP9XYZ 599 001 DL1AAA 599 001\r\n" + bad +
        "\r\nQSO: 14025 CW 2024-06-01 1205 SP9XYZ 599 004 SP1ABC 599 007\r\n");
    QCOMPARE(r.notes, QStringList{note});
    QCOMPARE(r.lines.size(), 2);
    // A line left out takes no second of its minute.
    QCOMPARE(qsoOf(r.lines.at(1)).time, QStringLiteral("120500"));
}

QTEST_GUILESS_MAIN(TestCabrillo)
#include "tst_interchange_cabrillo.moc"
