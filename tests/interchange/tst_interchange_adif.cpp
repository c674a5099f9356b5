#include "analysis/countylist.h"
#include "importfiles.h"
#include "interchange/adifexport.h"
#include "interchange/adifimport.h"
#include "testqso.h"
#include "testsupport.h"

#include <QRegularExpression>
#include <QTest>

class TestAdif : public QObject {
    Q_OBJECT
private slots:
    void recordOfAnSsbContactOn80m();
    void frequencyFollowsBandAndMode_data();
    void frequencyFollowsBandAndMode();
    void everyCountedFieldHasItsExactLength();
    void emptyExchangeGivesNoSrxButRstRcvd();
    void analysisFieldsByMode_data();
    void analysisFieldsByMode();
    void dupeSuffixGivesNoAnalysisFields();
    void operatorOfBlanksIsLeftOut();
    void contestIdCarriesNoBlanks_data();
    void contestIdCarriesNoBlanks();
    void countyUnderSeveralProvincesTakesTheFirstProvince();
    void headerLines();

    void importReadsFixtureFiles_data();
    void importReadsFixtureFiles();
    void longFieldsAreReadWhole();
    void wholeTagNamesAreMatched();
    void everyRecordOfALineIsImported();
    void recordsWithoutUsableBandAreSkippedAndCounted();
    void recordsLeftOutOrCleanedAreNamed_data();
    void recordsLeftOutOrCleanedAreNamed();
    void modesMapBack_data();
    void modesMapBack();
    void shortTimeGetsZeroSeconds();
    void headerIsOnlyTheTextBeforeTheFirstTag();
    void fileWithoutRecordsHasNone();
    void exportThenImportGivesTheSameContacts();
};

static AdifExportOptions plainOptions() {
    AdifExportOptions o;
    o.analysis.enabled = false;
    return o;
}

void TestAdif::recordOfAnSsbContactOn80m() {
    const Qso qso =
        TestQso().time("12:34:56").band("80M").mode("PH").rstSent("59").rstRcvd("57").call("SP1ABC").srx("012").qso();
    const QString r = AdifExport(plainOptions()).record(qso);
    QCOMPARE(r, QStringLiteral("<QSO_DATE:8>20240601 <TIME_ON:6>123456 <BAND:3>80M <FREQ:5>3.700 <MODE:3>SSB "
                               "<CALL:6>SP1ABC <RST_RCVD:2>57 <SRX:3>012 <RST_SENT:2>59 <STX:3>001 <EOR>"));
}

void TestAdif::frequencyFollowsBandAndMode_data() {
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("160M CW") << "160M"
                             << "CW"
                             << "<BAND:4>160M <FREQ:5>1.810 <MODE:2>CW ";
    QTest::newRow("40M RTTY") << "40M"
                              << "RY"
                              << "<BAND:3>40M <FREQ:5>7.040 <MODE:4>RTTY ";
    QTest::newRow("30M CW") << "30M"
                            << "CW"
                            << "<BAND:3>30M <FREQ:6>10.100 <MODE:2>CW ";
    QTest::newRow("17M PSK31") << "17M"
                               << "PS"
                               << "<BAND:3>17M <FREQ:6>18.150 <MODE:5>PSK31 ";
    QTest::newRow("12M HELL") << "12M"
                              << "HE"
                              << "<BAND:3>12M <FREQ:6>24.950 <MODE:4>HELL ";
    QTest::newRow("6M SSB") << "6M"
                            << "PH"
                            << "<BAND:2>6M <FREQ:6>50.105 <MODE:3>SSB ";
    QTest::newRow("2M FM") << "2M"
                           << "FM"
                           << "<BAND:2>2M <FREQ:7>145.000 <MODE:2>FM ";
    QTest::newRow("70CM without frequency") << "70CM"
                                            << "CW"
                                            << "<BAND:4>70CM <MODE:2>CW ";
    QTest::newRow("23CM without frequency") << "23CM"
                                            << "PH"
                                            << "<BAND:4>23CM <MODE:3>SSB ";
}

void TestAdif::frequencyFollowsBandAndMode() {
    QFETCH(QString, band);
    QFETCH(QString, mode);
    QFETCH(QString, expected);
    const QString r =
        AdifExport(plainOptions()).record(TestQso().time("12:00:00").band(band).mode(mode).call("SP1AA").qso());
    QVERIFY2(r.contains(" " + expected + "<CALL:"), qPrintable(r));
}

void TestAdif::everyCountedFieldHasItsExactLength() {
    AdifExportOptions o = plainOptions();
    o.comment = QStringLiteral("Zawody Świętego Mikołaja");
    o.contest = QStringLiteral("SP DX 2024");
    o.operatorCall = QStringLiteral("SP9XYZ");
    const QString r =
        AdifExport(o).record(TestQso().time("12:00:00").call("SP9ABC/P").stx("12345678901").srx("1234JO90AB").qso());
    static const QRegularExpression tag(QStringLiteral("<([A-Z_0-9]+):(\\d+)>"));
    int count = 0;
    for (auto it = tag.globalMatch(r); it.hasNext();) {
        const auto m = it.next();
        const int length = m.captured(2).toInt();
        const qsizetype dataStart = m.capturedEnd();
        QCOMPARE(r.at(dataStart + length), QLatin1Char(' ')); // the data end exactly before the blank
        QVERIFY(r.mid(dataStart, length).indexOf('<') < 0);
        ++count;
    }
    QCOMPARE(count, 13);
    QVERIFY(r.contains("<COMMENT:24>Zawody Świętego Mikołaja "));
    QVERIFY(r.endsWith("<CONTEST_ID:10>SP DX 2024 <EOR>"));
}

void TestAdif::emptyExchangeGivesNoSrxButRstRcvd() {
    const QString r =
        AdifExport(plainOptions()).record(TestQso().time("12:00:00").rst("").call("SP1AA").stx("").srx("").qso());
    QVERIFY(!r.contains("<SRX:"));
    QVERIFY(!r.contains("<STX:"));
    QVERIFY(r.contains("<RST_RCVD:0> "));
    QVERIFY(r.contains("<RST_SENT:0> "));
    QVERIFY(!r.contains("COMMENT"));
}

void TestAdif::analysisFieldsByMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("srx");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("sppa");
    QTest::addColumn<bool>("odx");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("expected");
    QTest::newRow("county found, no note") << int(AnalysisMode::County) << "012GW"
                                           << " GW" << false << false << ""
                                           << "<STATE:1>B <APP_LOGGER32_CNTY:4>B-GW <EOR>";
    QTest::newRow("county with note and comment")
        << int(AnalysisMode::County) << "012GW"
        << " GW" << true << false << "tnx"
        << "<STATE:1>B <APP_LOGGER32_CNTY:4>B-GW <COMMENT:12>SPPA: GW tnx <EOR>";
    QTest::newRow("county missing from the list") << int(AnalysisMode::County) << "012QQ"
                                                  << " QQ" << true << false << ""
                                                  << "<STX:3>001 <COMMENT:8>SPPA: QQ <EOR>";
    QTest::newRow("province and county") << int(AnalysisMode::ProvinceCounty) << "012SIC"
                                         << " SIC" << true << false << ""
                                         << "<STATE:1>S <APP_LOGGER32_CNTY:4>S-IC <COMMENT:9>SPPA: SIC <EOR>";
    QTest::newRow("locator distance with note") << int(AnalysisMode::Locator) << "017JO90AB"
                                                << " 512" << false << true << ""
                                                << "<DISTANCE:3>512 <COMMENT:10>ODX: 512KM <EOR>";
    QTest::newRow("locator distance without note") << int(AnalysisMode::Locator) << "017JO90AB"
                                                   << " 512" << true << false << ""
                                                   << "<DISTANCE:3>512 <EOR>";
    QTest::newRow("distance of five digits whole") << int(AnalysisMode::Locator) << "017JO90AB"
                                                   << "12345" << false << true << ""
                                                   << "<DISTANCE:5>12345 <COMMENT:12>ODX: 12345KM <EOR>";
}

void TestAdif::analysisFieldsByMode() {
    QFETCH(int, mode);
    QFETCH(QString, srx);
    QFETCH(QString, suffix);
    QFETCH(bool, sppa);
    QFETCH(bool, odx);
    QFETCH(QString, comment);
    QFETCH(QString, expected);
    AdifExportOptions o;
    o.analysis.enabled = true;
    o.analysis.mode = AnalysisMode(mode);
    o.sppaComment = sppa;
    o.odxComment = odx;
    o.comment = comment;
    CountyList provinces;
    provinces.LoadCountyList(shippedCountyFile(), AnalysisMode::ProvinceCounty);
    o.provinceCountyEntries = provinces.entries();
    const QString r =
        AdifExport(o).record(TestQso().time("12:00:00").band("2M").call("SP1AA").srx(srx).suffix(suffix).qso());
    QVERIFY2(r.endsWith(expected), qPrintable(r));
    if (mode == int(AnalysisMode::Locator))
        QVERIFY(r.contains("<GRIDSQUARE:6>JO90AB "));
    else
        QVERIFY(!r.contains("GRIDSQUARE"));
}

void TestAdif::dupeSuffixGivesNoAnalysisFields() {
    AdifExportOptions o;
    o.analysis.enabled = true;
    o.analysis.mode = AnalysisMode::Locator;
    o.sppaComment = o.odxComment = true;
    const QString r =
        AdifExport(o).record(TestQso().time("12:00:00").band("2M").call("SP1AA").srx("017JO90AB").suffix("DUPE").qso());
    QVERIFY(!r.contains("DISTANCE"));
    QVERIFY(!r.contains("COMMENT"));
    QVERIFY(r.contains("<GRIDSQUARE:6>JO90AB"));
}

void TestAdif::operatorOfBlanksIsLeftOut() {
    AdifExportOptions o = plainOptions();
    o.operatorCall = QStringLiteral("   ");
    QVERIFY(!AdifExport(o).record(TestQso().time("12:00:00").call("SP1AA").qso()).contains("OPERATOR"));
}

void TestAdif::countyUnderSeveralProvincesTakesTheFirstProvince() {
    AdifExportOptions o;
    o.analysis.enabled = true;
    o.analysis.mode = AnalysisMode::County;
    o.provinceCountyEntries = {QStringLiteral("KAB"), QStringLiteral("SAB"), QStringLiteral("BAB")};
    const QString r = AdifExport(o).record(TestQso().time("12:00:00").call("SP1AA").srx("AB").suffix(" AB").qso());
    QVERIFY2(r.contains("<STATE:1>B <APP_LOGGER32_CNTY:4>B-AB "), qPrintable(r));
}

void TestAdif::contestIdCarriesNoBlanks_data() {
    QTest::addColumn<QString>("cabrilloContest"); // "Cabrillo" / "Zawody" of the settings
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("field"); // the record's CONTEST_ID, empty when there is none
    QTest::newRow("a contest name") << "SP DX"
                                    << "SP DX 2026"
                                    << "<CONTEST_ID:10>SP DX 2026 ";
    QTest::newRow("blanks around the name") << "  SP DX "
                                            << "SP DX 2026"
                                            << "<CONTEST_ID:10>SP DX 2026 ";
    QTest::newRow("no contest name") << ""
                                     << ""
                                     << "";
    QTest::newRow("a name of blanks") << "   "
                                      << ""
                                      << "";
}

void TestAdif::contestIdCarriesNoBlanks() {
    QFETCH(QString, cabrilloContest);
    QFETCH(QString, proposed);
    QFETCH(QString, field);
    QCOMPARE(AdifExport::proposedContest(cabrilloContest, 2026), proposed);
    // The operator may also type blanks around the name in the window's field.
    AdifExportOptions o = plainOptions();
    o.contest = QLatin1Char(' ') + AdifExport::proposedContest(cabrilloContest, 2026) + QLatin1Char(' ');
    const QString r = AdifExport(o).record(TestQso().time("12:00:00").call("SP1AA").qso());
    if (field.isEmpty())
        QVERIFY2(!r.contains("CONTEST_ID"), qPrintable(r));
    else
        QVERIFY2(r.endsWith(field + "<EOR>"), qPrintable(r));
}

void TestAdif::headerLines() {
    QCOMPARE(AdifExport::headerLines(),
             QStringList({"ADIF 2.0", "Wygenerowany przez program KVR_Log v." + buildVersion(), "<EOH>"}));
}

void TestAdif::importReadsFixtureFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected");
    const TestQso cw = TestQso().time("12:34:56").rstSent("599").rstRcvd("579").call("SP9ABC").srx("12-SIC");
    const TestQso ssb =
        TestQso().time("12:40:00").band("40M").mode("PH").rstSent("59").rstRcvd("57").call("DL1AA").stx("").srx("");
    const TestQso fm =
        TestQso().time("12:34:56").band("70CM").mode("FM").rst("59").call("SP9ABC").stx("001KO02MD").srx("017JO90AB");
    QTest::newRow("records over several lines, header before EOH")
        << "adif_multiline_records.adi" << QStringList{cw, ssb};
    QTest::newRow("lower-case tags and data") << "adif_lowercase_tags.adi" << QStringList{fm};
}

void TestAdif::importReadsFixtureFiles() {
    QFETCH(QString, file);
    QFETCH(QStringList, expected);
    const AdifImport::Result r = AdifImport::readFile(testDataFile(file));
    QVERIFY(r.status.ok);
    QCOMPARE(r.lines, expected);
}

void TestAdif::longFieldsAreReadWhole() {
    const AdifImport::Result r = AdifImport::readFile(testDataFile("adif_long_fields.adi"));
    QCOMPARE(r.lines.size(), 1);
    const Qso qso = qsoOf(r.lines.first());
    QCOMPARE(qso.call, QStringLiteral("SP9ABCDEFGHI"));
    QCOMPARE(qso.stx, QStringLiteral("12345678901"));
    QCOMPARE(qso.srx, QStringLiteral("1234JO90AB"));
    QCOMPARE(r.lines.first().size(), 74);
}

void TestAdif::wholeTagNamesAreMatched() {
    const AdifImport::Result r = AdifImport::readFile(testDataFile("adif_band_rx_before_band.adi"));
    QCOMPARE(r.lines.size(), 1);
    const Qso qso = qsoOf(r.lines.first());
    QCOMPARE(qso.band, Band::fromName(u"20M"));
    QCOMPARE(qso.stx, QStringLiteral("005"));
    QCOMPARE(qso.srx, QStringLiteral("007"));
}

void TestAdif::everyRecordOfALineIsImported() {
    const AdifImport::Result r = AdifImport::readFile(testDataFile("adif_several_records_one_line.adi"));
    QCOMPARE(r.records, 3);
    QCOMPARE(r.lines.size(), 3);
    QCOMPARE(qsoOf(r.lines.at(2)).call, QStringLiteral("SP3CC"));
    QCOMPARE(qsoOf(r.lines.at(2)).mode.code(), QStringLiteral("PH"));
}

void TestAdif::recordsWithoutUsableBandAreSkippedAndCounted() {
    const AdifImport::Result r = AdifImport::readFile(testDataFile("adif_records_without_usable_band.adi"));
    QCOMPARE(r.records, 3);
    QCOMPARE(r.skipped, 2);
    QCOMPARE(r.lines.size(), 1);
    QCOMPARE(qsoOf(r.lines.first()).call, QStringLiteral("SP1AA"));
    QCOMPARE(r.notes, QStringList({"Rekord 2 pominięty: brak pasma (BAND)",
                                   "Rekord 3 pominięty: pasmo \"1.25M\" nie jest obsługiwane przez program (BAND)"}));
}

// A record between two good ones is either left out or taken with its fields cleaned, and either way named.
void TestAdif::recordsLeftOutOrCleanedAreNamed_data() {
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("call"); // empty: the record is left out
    QTest::addColumn<QStringList>("notes");
    const QString cleaned = QStringLiteral("Rekord 2: pole %1 zawierało znaki sterujące – poprawiono");
    QTest::newRow("no MODE") << "<BAND:3>20M <CALL:5>SP1AA"
                             << "" << QStringList{"Rekord 2 pominięty: brak emisji (MODE)"};
    QTest::newRow("mode outside the table")
        << "<BAND:3>20M <MODE:3>ft8 <CALL:5>SP1AA"
        << "" << QStringList{"Rekord 2 pominięty: emisja \"FT8\" nie jest obsługiwana przez program (MODE)"};
    QTest::newRow("CALL of a line break") << "<BAND:3>20M <MODE:2>CW <CALL:2>\r\n"
                                          << "" << QStringList{"Rekord 2 pominięty: brak znaku korespondenta (CALL)"};
    QTest::newRow("long unknown band is cut in the note")
        << "<BAND:20>ABCDEFGHIJKLMNOPQRST <MODE:2>CW <CALL:5>SP1AA"
        << ""
        << QStringList{"Rekord 2 pominięty: pasmo \"ABCDEFGHIJKLMNOP…\" nie jest obsługiwane przez program (BAND)"};
    QTest::newRow("everything missing names every field")
        << "<COMMENT:3>abc"
        << ""
        << QStringList{"Rekord 2 pominięty: brak pasma (BAND), brak emisji (MODE), brak znaku korespondenta (CALL)"};
    QTest::newRow("CR LF inside the call") << "<BAND:3>20M <MODE:2>CW <CALL:8>SP\r\n1ABC"
                                           << "SP  1ABC" << QStringList{cleaned.arg("CALL")};
    QTest::newRow("line break after the call changes nothing") << "<BAND:3>20M <MODE:2>CW <CALL:8>SP1ABC\r\n"
                                                               << "SP1ABC" << QStringList{};
    QTest::newRow("NUL in the exchange, tab in the report")
        << QStringLiteral("<BAND:3>20M <MODE:2>CW <CALL:6>SP1ABC <SRX:5>01") + QChar(0) + "KR <RST_SENT:4>5\t99"
        << "SP1ABC" << QStringList{cleaned.arg("RST_SENT"), cleaned.arg("SRX")};
}

void TestAdif::recordsLeftOutOrCleanedAreNamed() {
    QFETCH(QString, fields);
    QFETCH(QString, call);
    QFETCH(QStringList, notes);
    const QByteArray good = adifRecord("<BAND:3>20M <MODE:2>CW <CALL:4>SP1A");
    const AdifImport::Result r = AdifImport::parse(QString::fromUtf8(good + adifRecord(fields.toUtf8()) + good));
    QCOMPARE(r.notes, notes);
    QCOMPARE(r.lines.size(), call.isEmpty() ? 2 : 3);
    if (!call.isEmpty())
        QCOMPARE(qsoOf(r.lines.at(1)).call, call);
}

void TestAdif::modesMapBack_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("code");
    QTest::newRow("SSB") << "SSB"
                         << "PH";
    QTest::newRow("CW") << "CW"
                        << "CW";
    QTest::newRow("FM") << "FM"
                        << "FM";
    QTest::newRow("RTTY") << "RTTY"
                          << "RY";
    QTest::newRow("PSK31") << "PSK31"
                           << "PS";
    QTest::newRow("HELL") << "HELL"
                          << "HE";
    QTest::newRow("lower-case rtty") << "rtty"
                                     << "RY";
    QTest::newRow("upper sideband written as the mode") << "USB"
                                                        << "PH";
    QTest::newRow("lower sideband written as the mode") << "LSB"
                                                        << "PH";
}

void TestAdif::modesMapBack() {
    QFETCH(QString, mode);
    QFETCH(QString, code);
    const QString text =
        QStringLiteral("<BAND:3>20M <QSO_DATE:8>20240601 <TIME_ON:6>120000 <MODE:%1>%2 <CALL:3>A1A <EOR>")
            .arg(mode.size())
            .arg(mode);
    const AdifImport::Result r = AdifImport::parse(text);
    QCOMPARE(r.lines.size(), 1);
    QCOMPARE(qsoOf(r.lines.first()).mode.code(), code);
}

void TestAdif::shortTimeGetsZeroSeconds() {
    const AdifImport::Result r = AdifImport::parse(
        u"<QSO_DATE:8>20240601 <TIME_ON:4>1234 <BAND:3>80M <MODE:2>CW <RST_SENT:2>59 <CALL:3>A1A <EOR>");
    QCOMPARE(r.lines.first(),
             QStringLiteral("2024-06-01 123400  80M CW 59              A1A                             "));
}

void TestAdif::headerIsOnlyTheTextBeforeTheFirstTag() {
    // No header: the <EOH> in the comment is data, and the record before it counts.
    const AdifImport::Result r = AdifImport::parse(
        u"<QSO_DATE:8>20240601 <TIME_ON:4>1234 <BAND:3>80M <MODE:2>CW <CALL:3>A1A <COMMENT:5><EOH> <EOR>\n"
        u"<QSO_DATE:8>20240601 <TIME_ON:4>1235 <BAND:3>80M <MODE:2>CW <CALL:3>B1B <EOR>");
    QCOMPARE(r.lines.size(), 2);
    // A header whose text holds a tag-like string ends at <EOH>.
    const AdifImport::Result h = AdifImport::parse(
        u"Log of <SP9XYZ> with <CALL:3>X1X in the header\n<EOH>\n<QSO_DATE:8>20240601 <TIME_ON:4>1234 "
        u"<BAND:3>80M <MODE:2>CW <CALL:3>A1A <EOR>");
    QCOMPARE(h.records, 1);
    QCOMPARE(qsoOf(h.lines.first()).call, QStringLiteral("A1A"));
}

void TestAdif::fileWithoutRecordsHasNone() {
    const AdifImport::Result r = AdifImport::readFile(testDataFile("adif_no_records.txt"));
    QVERIFY(r.status.ok);
    QCOMPARE(r.records, 0);
    QVERIFY(!AdifImport::readFile(testDataFile("no_such_file.adi")).status.ok);
}

void TestAdif::exportThenImportGivesTheSameContacts() {
    TempProgramFolder folder;
    std::vector<QsoRecord> log;
    QStringList bodies;
    const char* const modes[] = {"PH", "CW", "FM", "RY", "PS", "HE"};
    const char* const bands[] = {"160M", "80M", "40M", "30M", "20M",  "17M", "15M",
                                 "12M",  "10M", "6M",  "2M",  "70CM", "23CM"};
    int i = 0;
    for (const char* band : bands) {
        for (const char* mode : modes) {
            const QString time =
                QStringLiteral("12:%1:%2").arg(i / 60, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0'));
            // Distances and dupe marks in the suffix give extra fields that the import must pass over.
            const QString suffix = i % 5 == 0 ? QStringLiteral("DUPE") : QString::number(100 + i).rightJustified(4);
            log.push_back(TestQso()
                              .time(time)
                              .band(band)
                              .mode(mode)
                              .rstSent("59")
                              .rstRcvd("599")
                              .call(QStringLiteral("SP%1ABC/P").arg(i % 10))
                              .stx(QString::number(i + 1))
                              .srx(QStringLiteral("%1KO02MD").arg(i))
                              .suffix(suffix)
                              .record());
            bodies.append(log.back().body());
            ++i;
        }
    }
    const QString path = folder.file("out.adi");
    AdifExportOptions o;
    o.analysis.enabled = true;
    o.analysis.mode = AnalysisMode::Locator;
    o.odxComment = true;
    o.comment = QStringLiteral("test <EOR> inside");
    o.operatorCall = QStringLiteral("SP9XYZ");
    o.contest = QStringLiteral("SP DX 2024");
    QVERIFY(AdifExport(o).write(path, log).ok);
    const AdifImport::Result back = AdifImport::readFile(path);
    QCOMPARE(back.records, qsizetype(log.size()));
    QCOMPARE(back.skipped, 0);
    QCOMPARE(back.notes, QStringList());
    QCOMPARE(back.lines, bodies);
}

QTEST_GUILESS_MAIN(TestAdif)
#include "tst_interchange_adif.moc"
