#include "interchange/csvexport.h"
#include "qsofixtures.h"
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
    QTest::newRow("no suffix") << qso("2024-06-01", "12:34:56", "160M", "CW", "SP1AA", "599", "001", "59", "12-SIC")
                               << "2024-06-01;123456;160M;CW;599;001;SP1AA;59;12 SIC;";
    QTest::newRow("dupe") << qso("2024-06-01", "12:34:56", "2M", "PH", "SP1AA", "59", "1", "59", "5", "DUPE")
                          << "2024-06-01;123456;2M;PH;59;1;SP1AA;59;5;";
    QTest::newRow("distance") << qso("2024-06-01", "12:34:56", "70CM", "FM", "SP1AA", "59", "001 KO02MD", "59",
                                     "005JO90AB", " 512")
                              << "2024-06-01;123456;70CM;FM;59;001 KO02MD;SP1AA;59;005JO90AB;512";
    QTest::newRow("empty line") << QString() << ";;;;;;;;;";
}

void TestCsv::rowsHaveTenFields() {
    QFETCH(QString, line);
    QFETCH(QString, row);
    QCOMPARE(CsvExport::row(line), row);
}

void TestCsv::fileHasHeadingAndOneRowPerLine() {
    TempProgramFolder folder;
    const std::vector<QString> log = {qso("2024-06-01", "12:00:00", "20M", "CW", "SQ9ŻÓŁW"),
                                      qso("2024-06-01", "12:01:00", "40M", "CW", "SP2BB")};
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
