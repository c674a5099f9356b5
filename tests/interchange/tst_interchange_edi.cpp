#include "interchange/ediexport.h"
#include "settings/inifile.h"
#include "testqso.h"
#include "testsupport.h"

#include <QTest>

class TestEdi : public QObject {
    Q_OBJECT
private slots:
    void statisticsCountEveryBandOnItsOwn();
    void claimedScoreByTheTable_data();
    void claimedScoreByTheTable();
    void recomputingOneValueTouchesOnlyItsFields();
    void odxNamesOnlyAContactOfItsBand();
    void bandFileHasTheHeaderKeysInOrder();
    void recordsMarkNewSquaresDupesAndPoints();
    void bandWithoutContactsWritesNothing();
    void validationMessagesInOrder();
    void settingsRoundTripAndBonusDefault();
    void presetsSetTheBonus();
};

static std::vector<QsoRecord> sampleLog() {
    const TestQso contact = TestQso().band("2M");
    return testRecords({
        contact.time("10:00:00").call("SP1AA").stx("1 KO02MD").srx("005JO90AB").suffix(" 300"),
        contact.time("10:01:00").call("SP2BB").stx("2 KO02MD").srx("006JO90CD").suffix(" 500"), // same square JO90
        contact.time("10:02:00").band("20M").call("SP3CC").stx("3").srx("007"),                 // HF: ignored
        contact.time("10:03:00").band("70CM").mode("PH").call("SP4DD").stx("3 KO02MD").srx("001JO91AA").suffix("  50"),
        contact.time("10:04:00").call("SP1AA").stx("4 KO02MD").srx("005JO90AB").suffix("DUPE"),
        // ties the best: the first wins
        contact.time("10:05:00").call("SP5EE").stx("5 KO02MD").srx("12JN99XX").suffix(" 500"),
        contact.time("10:06:00").call("SP6FF").stx("6 KO02MD").srx("000"), // no distance
    });
}

void TestEdi::statisticsCountEveryBandOnItsOwn() {
    const std::vector<QsoRecord> log = sampleLog();
    const Edi::Statistics s = Edi::Statistics::gather(log);
    QCOMPARE(s.bandsFound, QStringList({"2M", "70CM"}));
    QCOMPARE(s.dates, QStringLiteral("20240601;20240601"));
    const Edi::BandStatistics& two = s.bands[1];
    QCOMPARE(two.qsoCount, 5);
    QCOMPARE(two.counted, 3);
    QCOMPARE(two.kmSum, 1300);
    QCOMPARE(two.bestDistance, 500);
    QCOMPARE(two.bestLine, 1);
    QCOMPARE(two.squares, QStringList({"JO90", "JN99"}));
    QCOMPARE(s.bands[0].qsoCount, 0);
    QCOMPARE(s.bands[2].qsoCount, 1);
    QCOMPARE(s.bands[3].qsoCount, 0);
}

void TestEdi::claimedScoreByTheTable_data() {
    QTest::addColumn<bool>("multiply");
    QTest::addColumn<int>("bonus");
    QTest::addColumn<QString>("total");
    QTest::newRow("squares multiply") << true << 500 << "6000";
    QTest::newRow("bonus per square") << false << 500 << "3500";
}

void TestEdi::claimedScoreByTheTable() {
    QFETCH(bool, multiply);
    QFETCH(int, bonus);
    QFETCH(QString, total);
    // 10 counted contacts, 1500 km, 4 squares, multiplier 1.
    std::vector<QsoRecord> log;
    const char* const squares[] = {"JO90", "JO91", "JO92", "JO93"};
    for (int i = 0; i < 10; ++i)
        log.push_back(TestQso()
                          .time(QStringLiteral("10:%1:00").arg(i, 2, 10, QLatin1Char('0')))
                          .band("2M")
                          .call(QStringLiteral("SP%1AA").arg(i))
                          .stx("1 KO02MD")
                          .srx(QStringLiteral("001") + squares[i % 4] + "AB")
                          .suffix(" 150")
                          .record());
    const Edi::Statistics s = Edi::Statistics::gather(log);
    Edi::ClaimedScore c;
    c.computeAll(s.bands[1], log, 1, bonus, multiply);
    QCOMPARE(c.CToSc, total);
    QCOMPARE(c.CQSOs, QStringLiteral("10;1"));
    QCOMPARE(c.CQSOP, QStringLiteral("1500"));
    QCOMPARE(c.CWWLs, QStringLiteral("4;%1;1").arg(bonus));
    QCOMPARE(c.CWWLB, QString::number(4 * bonus));
    QCOMPARE(c.CODXC, QStringLiteral("SP0AA;JO90AB;150"));
    QCOMPARE(c.squaresLabel, QStringLiteral("Lok. [4]"));
    QCOMPARE(c.CExcs, QStringLiteral("0;0;1"));
    QCOMPARE(c.CDXCB, QStringLiteral("0"));
}

void TestEdi::odxNamesOnlyAContactOfItsBand() {
    const std::vector<QsoRecord> log = testRecords({
        TestQso().time("10:00:00").band("2M").call("SP1AA").stx("1 KO02MD").srx("005JO90AB").suffix(" 300"),
        TestQso().time("10:01:00").band("70CM").call("SP2BB").stx("2 KO02MD").srx("006"), // no distance on 70 cm
        TestQso().time("10:02:00").band("6M").call("SP3CC").stx("3 KO02MD").srx("007JO91AA").suffix("   0"),
    });
    const Edi::Statistics s = Edi::Statistics::gather(log);
    Edi::ClaimedScore none;
    none.computeAll(s.bands[2], log, 1, 0, false);
    QCOMPARE(none.CODXC, QStringLiteral(";;0"));
    // A counted contact of distance 0 is still the band's best, not the first line of the log.
    Edi::ClaimedScore zero;
    zero.computeAll(s.bands[0], log, 1, 0, false);
    QCOMPARE(zero.CODXC, QStringLiteral("SP3CC;JO91AA;0"));
}

void TestEdi::recomputingOneValueTouchesOnlyItsFields() {
    const std::vector<QsoRecord> log = sampleLog();
    const Edi::Statistics s = Edi::Statistics::gather(log);
    Edi::ClaimedScore c;
    c.computeAll(s.bands[1], log, 1, 0, false);
    c.CWWLs = QStringLiteral("typed");
    c.computeMultiplier(s.bands[1], 2, 0, false);
    QCOMPARE(c.CQSOs, QStringLiteral("3;2"));
    QCOMPARE(c.CQSOP, QStringLiteral("2600"));
    QCOMPARE(c.CToSc, QStringLiteral("2600"));
    QCOMPARE(c.CWWLs, QStringLiteral("typed"));
    c.computeBonus(s.bands[1], 2, 100, false);
    QCOMPARE(c.CWWLs, QStringLiteral("2;100;1"));
    QCOMPARE(c.CWWLB, QStringLiteral("200"));
    QCOMPARE(c.CToSc, QStringLiteral("2800"));
    QCOMPARE(c.CQSOs, QStringLiteral("3;2"));
}

static Edi::Header header() {
    Edi::Header h;
    h.TName = QStringLiteral("SP VHF");
    h.TDate = QStringLiteral("20240601;20240601");
    h.PCall = QStringLiteral("SP9XYZ/P");
    h.PWWLo = QStringLiteral("KO02MD");
    h.PAdr1 = QStringLiteral("Szczyt");
    h.PSect = QStringLiteral("SO");
    h.RName = QStringLiteral("Jan Kowalski");
    h.RCall = QStringLiteral("SP9XYZ");
    h.RAdr1 = QStringLiteral("ul. Długa 1");
    return h;
}

void TestEdi::bandFileHasTheHeaderKeysInOrder() {
    const std::vector<QsoRecord> log = sampleLog();
    const Edi::Statistics s = Edi::Statistics::gather(log);
    Edi::BandSettings b;
    b.mastHeight = QStringLiteral("12");
    b.antennaHeight = QStringLiteral("450");
    b.remarks = {QStringLiteral("r1"), QStringLiteral("r2")};
    Edi::ClaimedScore c;
    c.computeAll(s.bands[1], log, 1, 0, false);
    const QStringList lines = Edi::bandLines(header(), 1, b, c, s, log);
    QCOMPARE(lines.first(), QStringLiteral("[REG1TEST;1]"));
    QStringList headerKeys;
    for (qsizetype i = 1; i < lines.size() && !lines.at(i).startsWith('['); ++i)
        headerKeys << lines.at(i).section('=', 0, 0);
    QCOMPARE(headerKeys,
             QStringList({"TName", "TDate", "PCall", "PWWLo", "PExch", "PAdr1", "PAdr2", "PSect", "PBand",
                          "Pclub", "RName", "RCall", "RAdr1", "RAdr2", "RPoCo", "RCity", "RCoun", "RPhon",
                          "RHBBS", "MOpe1", "MOpe2", "STXEq", "SPowe", "SRXEq", "SAnte", "SAntH", "CQSOs",
                          "CQSOP", "CWWLs", "CWWLB", "CExcs", "CExcB", "CDXCs", "CDXCB", "CToSc", "CODXC"}));
    QVERIFY(lines.contains("PBand=144MHz"));
    QVERIFY(lines.contains("SAntH=12;450"));
    QVERIFY(lines.contains("RCoun=Poland"));
    QVERIFY(lines.contains("CODXC=SP2BB;JO90CD;500"));
    const qsizetype remarks = lines.indexOf("[Remarks]");
    QCOMPARE(lines.mid(remarks, 4), QStringList({"[Remarks]", "r1", "r2", "[QSORecords;5]"}));
    QCOMPARE(lines.last(), "[END;KVR_Log, version " + buildVersion() + "]");
    QCOMPARE(Edi::fileName("/tmp/x", "SP9XYZ/P", 2), QStringLiteral("/tmp/x/sp9xyz_p_70CM.edi"));
}

void TestEdi::recordsMarkNewSquaresDupesAndPoints() {
    const std::vector<QsoRecord> log = sampleLog();
    const Edi::Statistics s = Edi::Statistics::gather(log);
    Edi::BandSettings b;
    b.multiplier = 2;
    const QStringList lines = Edi::bandLines(header(), 1, b, {}, s, log);
    const qsizetype start = lines.indexOf("[QSORecords;5]") + 1;
    QCOMPARE(lines.mid(start, 5), QStringList({
                                      "240601;1000;SP1AA;2;599;001;599;005;;JO90AB;600;;N;;",
                                      "240601;1001;SP2BB;2;599;002;599;006;;JO90CD;1000;;;;",
                                      "240601;1004;SP1AA;2;599;004;599;005;;JO90AB;0;;;;D",
                                      "240601;1005;SP5EE;2;599;005;599;012;;JN99XX;1000;;N;;",
                                      "240601;1006;SP6FF;2;599;006;599;;;000;0;;;;",
                                  }));
    const QStringList uhf = Edi::bandLines(header(), 2, b, {}, s, log);
    QCOMPARE(uhf.at(uhf.indexOf("[QSORecords;1]") + 1),
             QStringLiteral("240601;1003;SP4DD;1;599;003;599;001;;JO91AA;100;;N;;"));
}

void TestEdi::bandWithoutContactsWritesNothing() {
    TempProgramFolder folder;
    const std::vector<QsoRecord> log = sampleLog();
    const Edi::Statistics s = Edi::Statistics::gather(log);
    for (int band = 0; band < Edi::kBandCount; ++band)
        QVERIFY(Edi::writeBand(Edi::fileName(folder.path(), "SP9XYZ", band), header(), band, {}, {}, s, log).ok);
    QVERIFY(!QFile::exists(folder.file("sp9xyz_6M.edi")));
    QVERIFY(QFile::exists(folder.file("sp9xyz_2M.edi")));
    QVERIFY(QFile::exists(folder.file("sp9xyz_70CM.edi")));
    QVERIFY(!QFile::exists(folder.file("sp9xyz_23CM.edi")));
    QFile file(folder.file("sp9xyz_2M.edi"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("[REG1TEST;1]\r\nTName=SP VHF\r\n"));
}

void TestEdi::validationMessagesInOrder() {
    Edi::Header h;
    QCOMPARE(Edi::validate(h), QStringLiteral("Proszę wprowadzić znak używany podczas zawodów!"));
    h.PCall = "X";
    QCOMPARE(Edi::validate(h), QStringLiteral("Proszę wprowadzić imię i nazwisko!"));
    h.RName = "X";
    h.PAdr1 = "X";
    QCOMPARE(Edi::validate(h), QStringLiteral("Proszę wprowadzić adres!"));
    h.RAdr1 = "X";
    QCOMPARE(Edi::validate(h), QStringLiteral("Proszę wprowadzić nazwę zawodow!"));
    h.TName = "X";
    QCOMPARE(Edi::validate(h), QStringLiteral("Proszę wprowadzić kategorie zawodow!"));
    h.PSect = "X";
    QCOMPARE(Edi::validate(h), QString());
}

void TestEdi::settingsRoundTripAndBonusDefault() {
    TempProgramFolder folder;
    Edi::Settings s;
    s.TName = QStringLiteral("Zawody Świąteczne");
    s.MOpe1 = QStringLiteral("SP1AA;SP2BB");
    s.bands[3].mastHeight = QStringLiteral("10");
    s.bands[3].bonus = 150;
    s.bands[3].multiplier = 3;
    s.bands[3].remarks = {QStringLiteral("a"), QStringLiteral("b")};
    s.squaresMultiply = true;
    {
        IniFile ini(folder.file("kvr_log.ini"));
        s.writeHeader(ini);
        s.writeBands(ini);
    }
    IniFile ini(folder.file("kvr_log.ini"));
    QCOMPARE(ini.readString("EDI", "Remarks_23CM", {}), QStringLiteral("a|b"));
    QCOMPARE(ini.readString("EDI", "Wys_masztu_23CM", {}), QStringLiteral("10"));
    QVERIFY(ini.hasKey("EDI", "Mnożnik=lokator"));
    const Edi::Settings r = Edi::Settings::read(ini, Edi::Settings());
    QCOMPARE(r.TName, s.TName);
    QCOMPARE(r.MOpe1, s.MOpe1);
    QCOMPARE(r.bands[3].bonus, 150);
    QCOMPARE(r.bands[3].multiplier, 3);
    QCOMPARE(r.bands[3].remarks, s.bands[3].remarks);
    QCOMPARE(r.squaresMultiply, true);

    IniFile partial(folder.file("partial.ini"));
    partial.writeInteger("EDI", "SpinEdit_6M", 4);
    QCOMPARE(Edi::Settings::read(partial, Edi::Settings()).bands[0].bonus, 4); // bonus defaults to the multiplier
}

void TestEdi::presetsSetTheBonus() {
    QCOMPARE(Edi::presetBonus(0), (std::array<int, 4>{0, 0, 0, 0}));
    QCOMPARE(Edi::presetBonus(1), (std::array<int, 4>{0, 0, 0, 0}));
    QCOMPARE(Edi::presetBonus(2), (std::array<int, 4>{500, 500, 500, 500}));
    QCOMPARE(Edi::presetBonus(3), (std::array<int, 4>{500, 500, 300, 300}));
}

QTEST_GUILESS_MAIN(TestEdi)
#include "tst_interchange_edi.moc"
