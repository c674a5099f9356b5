#include "interchange/csvexport.h"
#include "testqso.h"
#include "testsupport.h"

#include <QTest>

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void headingByAnalysisMode_data();
    void headingByAnalysisMode();
    void rowsHaveTenFields_data();
    void rowsHaveTenFields();
    void fileHasHeadingAndOneRowPerLine();
};

void TestCsv::headingByAnalysisMode_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("heading");
    const QString base = QStringLiteral("Data;Godzina;Pasmo;Emisja;RSTS;STX;Znak;RSTR;SRX;");
    QTest::newRow("analysis off") << false << int(AnalysisMode::Locator) << base;
    QTest::newRow("county") << true << int(AnalysisMode::County) << base + "Powiat";
    QTest::newRow("province and county") << true << int(AnalysisMode::ProvinceCounty) << base + "Woj-Powiat";
    QTest::newRow("locator") << true << int(AnalysisMode::Locator) << base + "Lokator";
}

void TestCsv::headingByAnalysisMode() {
    QFETCH(bool, enabled);
    QFETCH(int, mode);
    QFETCH(QString, heading);
    AnalysisOptions options;
    options.enabled = enabled;
    options.mode = AnalysisMode(mode);
    QCOMPARE(CsvExport::heading(options), heading);
}

void TestCsv::rowsHaveTenFields_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("row");
    const TestQso contact = TestQso().time("12:34:56").call("SP1AA");
    QTest::newRow("no suffix") << contact.band("160M").rstSent("599").rstRcvd("59").srx("12-SIC").line()
                               << "2024-06-01;123456;160M;CW;599;001;SP1AA;59;12 SIC;";
    QTest::newRow("dupe") << contact.band("2M").mode("PH").rst("59").stx("1").srx("5").suffix("DUPE").line()
                          << "2024-06-01;123456;2M;PH;59;1;SP1AA;59;5;";
    QTest::newRow("distance")
        << contact.band("70CM").mode("FM").rst("59").stx("001 KO02MD").srx("005JO90AB").suffix(" 512").line()
        << "2024-06-01;123456;70CM;FM;59;001 KO02MD;SP1AA;59;005JO90AB;512";
    QTest::newRow("distance of five digits")
        << contact.band("2M").rst("599").stx("001 KO02MD").srx("005JO90AB").suffix("12345").line()
        << "2024-06-01;123456;2M;CW;599;001 KO02MD;SP1AA;599;005JO90AB;12345";
    QTest::newRow("contact without reports and exchanges")
        << contact.rst("").stx("").call("").srx("").line() << "2024-06-01;123456;20M;CW;;;;;;";
}

void TestCsv::rowsHaveTenFields() {
    QFETCH(QString, line);
    QFETCH(QString, row);
    QCOMPARE(CsvExport::row(qsoOf(line)), row);
}

void TestCsv::fileHasHeadingAndOneRowPerLine() {
    TempProgramFolder folder;
    const std::vector<QsoRecord> log = {TestQso().time("12:00:00").call("SQ9ŻÓŁW").record(),
                                        TestQso().time("12:01:00").band("40M").call("SP2BB").record()};
    QVERIFY(CsvExport::write(folder.file("x.csv"), AnalysisOptions(), log).ok);
    const QStringList lines = folder.readLines("x.csv");
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(1).contains(";SQ9ŻÓŁW;"));
    QFile file(folder.file("x.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().endsWith("SP2BB;599;012;\r\n"));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_interchange_csv.moc"
