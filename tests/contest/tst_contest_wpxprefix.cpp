#include "contest/countryfile.h"

#include <QTest>

// The WPX prefix of callsigns as logged, with every kind of portable designator.
class TestWpxPrefix : public QObject {
    Q_OBJECT

private slots:
    void prefixOfCallsign_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("letters, digit, suffix") << "SP9ABC"
                                                << "SP9";
        QTest::newRow("digit first") << "9A2AA"
                                     << "9A2";
        QTest::newRow("two digits") << "S57X"
                                    << "S57";
        QTest::newRow("digit first, zero area") << "3Z0X"
                                                << "3Z0";
        QTest::newRow("digit, letter, digit") << "2E0ABC"
                                              << "2E0";
        QTest::newRow("no digit: two letters and zero") << "RAEM"
                                                        << "RA0";
        QTest::newRow("lone digit replaces the area") << "SP9ABC/1"
                                                      << "SP1";
        QTest::newRow("one-letter prefix, lone digit") << "W8ABC/4"
                                                       << "W4";
        QTest::newRow("no digit, lone digit") << "RAEM/3"
                                              << "RA3";
        QTest::newRow("location with digit before") << "OH0/SP9ABC"
                                                    << "OH0";
        QTest::newRow("location letters before") << "DL/SP9ABC"
                                                 << "DL0";
        QTest::newRow("location letters after") << "DL1ABC/PA"
                                                << "PA0";
        QTest::newRow("location with digit after") << "N8BJQ/KH6"
                                                   << "KH6";
        QTest::newRow("location letters and digit, letters after") << "K1ABC/VP2E"
                                                                   << "VP2";
        QTest::newRow("portable") << "SP9ABC/P"
                                  << "SP9";
        QTest::newRow("mobile") << "SP9ABC/M"
                                << "SP9";
        QTest::newRow("low power") << "SP9ABC/QRP"
                                   << "SP9";
        QTest::newRow("alternative") << "SP9ABC/A"
                                     << "SP9";
        QTest::newRow("maritime mobile") << "SP9ABC/MM"
                                         << "SP9";
        QTest::newRow("aeronautical mobile") << "SP9ABC/AM"
                                             << "SP9";
        QTest::newRow("location and portable") << "DL/SP9ABC/P"
                                               << "DL0";
        QTest::newRow("portable before lone digit") << "SP9ABC/P/1"
                                                    << "SP1";
        QTest::newRow("lower case") << "sp9abc/p"
                                    << "SP9";
        QTest::newRow("lower case location") << "dl/sp9abc"
                                             << "DL0";
        QTest::newRow("spaces around") << "  SP9ABC  "
                                       << "SP9";
        QTest::newRow("empty parts") << "/SP9ABC//"
                                     << "SP9";
        QTest::newRow("two parts of one length: the first is the location") << "PA/DL"
                                                                            << "PA0";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only designators") << "/P/MM"
                                          << "";
    }
    void prefixOfCallsign() {
        QFETCH(QString, call);
        QFETCH(QString, prefix);
        QCOMPARE(wpxPrefix(call), prefix);
    }
};

QTEST_GUILESS_MAIN(TestWpxPrefix)
#include "tst_contest_wpxprefix.moc"
