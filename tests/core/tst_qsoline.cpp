#include "core/bands.h"
#include "core/memotext.h"
#include "core/modes.h"
#include "core/qsoline.h"

#include <QSet>
#include <QTest>

class TestQsoLine : public QObject {
    Q_OBJECT

private:
    static QsoFields sample() {
        QsoFields f;
        f.date = QStringLiteral("2024-06-01");
        f.time = QStringLiteral("12:34:56");
        f.band = QStringLiteral("20M");
        f.modeCode = QStringLiteral("CW");
        f.rstSent = QStringLiteral("599");
        f.stxFirst = QStringLiteral("001");
        f.call = QStringLiteral("SP9ABC");
        f.rstRcvd = QStringLiteral("599");
        f.srx = QStringLiteral("12-SIC");
        return f;
    }

private slots:
    void composedLineHasEveryFieldInItsColumns() {
        const QString line = QsoLine::compose(sample());
        QCOMPARE(line.size(), 74);
        QCOMPARE(line.mid(0, 17), QStringLiteral("2024-06-01 123456"));
        QCOMPARE(line.mid(17, 9), QStringLiteral("  20M CW "));
        QCOMPARE(line.mid(26, 4), QStringLiteral("599 "));
        QCOMPARE(line.mid(30, 11), QStringLiteral("        001"));
        QCOMPARE(line.mid(41, 1), QStringLiteral(" "));
        QCOMPARE(line.mid(42, 16), QStringLiteral("SP9ABC          "));
        QCOMPARE(line.mid(58, 4), QStringLiteral("599 "));
        QCOMPARE(line.mid(62, 11), QStringLiteral("     12 SIC"));
        QCOMPARE(line.mid(73, 1), QStringLiteral(" "));

        const QsoLine qso(line);
        QCOMPARE(qso.date(), QStringLiteral("2024-06-01"));
        QCOMPARE(qso.time(), QStringLiteral("123456"));
        QCOMPARE(qso.band(), QStringLiteral("20M"));
        QCOMPARE(qso.modeCode(), QStringLiteral("CW"));
        QCOMPARE(qso.rstSent(), QStringLiteral("599"));
        QCOMPARE(qso.stx(), QStringLiteral("001"));
        QCOMPARE(qso.call(), QStringLiteral("SP9ABC"));
        QCOMPARE(qso.rstRcvd(), QStringLiteral("599"));
        QCOMPARE(qso.srx(), QStringLiteral("12 SIC"));
        QVERIFY(!qso.isDupe());
        QVERIFY(QsoLine::isDupe(line + QStringLiteral("DUPE")));
    }

    void fieldsAreCutAndNormalised() {
        QsoFields f = sample();
        f.stxFirst = QStringLiteral(" 123456789");
        f.stxFixed = QStringLiteral("-KO02MD");
        f.call = QStringLiteral("sp9abcdefghijklmnop");
        f.srx = QStringLiteral("12 sic");
        f.band = QStringLiteral("6M");
        const QString line = QsoLine::compose(f);
        QCOMPARE(line.size(), 74);
        QCOMPARE(QsoLine::column(line, QsoColumns::Stx), QStringLiteral("6789 KO02MD"));
        QCOMPARE(QsoLine::column(line, QsoColumns::CallCell), QStringLiteral("SP9ABCDEFGHIJKLM"));
        QCOMPARE(QsoLine::trimmedColumn(line, QsoColumns::Srx), QStringLiteral("12SIC"));
        QCOMPARE(QsoLine::column(line, QsoColumns::Band), QStringLiteral("  6M"));
        f.band = QStringLiteral("70CM");
        QCOMPARE(QsoLine::column(QsoLine::compose(f), QsoColumns::Band), QStringLiteral("70CM"));
    }

    void sentExchangeDropsUnderscoresAndTurnsHyphensIntoBlanks() {
        QCOMPARE(QsoLine::joinSentExchange(u" 001 ", u"-KO02MD"), QStringLiteral("001 KO02MD"));
        QCOMPARE(QsoLine::joinSentExchange(u"12-SIC", u""), QStringLiteral("12 SIC"));
        QCOMPARE(QsoLine::joinSentExchange(u"A_B", u"_C"), QStringLiteral("ABC"));
    }

    void fieldReadersSurviveShortLines() {
        const QsoLine shortLine(QStringLiteral("2024-06-01"));
        QVERIFY(shortLine.call().isEmpty());
        QVERIFY(shortLine.band().isEmpty());
        QVERIFY(QsoLine(QString()).srx().isEmpty());
    }

    void bandTable_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("vhf");
        QTest::newRow("160M") << "160M"
                              << "160M" << false;
        QTest::newRow("80M") << "80M"
                             << " 80M" << false;
        QTest::newRow("30M WARC") << "30M"
                                  << " 30M" << false;
        QTest::newRow("6M") << "6M"
                            << "  6M" << true;
        QTest::newRow("70CM") << "70CM"
                              << "70CM" << true;
        QTest::newRow("23CM") << "23CM"
                              << "23CM" << true;
    }
    void bandTable() {
        QFETCH(QString, name);
        QFETCH(QString, field);
        QFETCH(bool, vhf);
        const BandInfo* band = Bands::fromLineField(field.left(3));
        QVERIFY(band);
        QCOMPARE(QString::fromLatin1(band->name), name);
        QCOMPARE(Bands::isVhf(name), vhf);
        QCOMPARE(QsoLine::rightJustify(name, 4), field);
    }

    void bandFieldsOutsideTheTableAreRejected() {
        QVERIFY(!Bands::fromLineField(u" 99"));
        QVERIFY(!Bands::fromLineField(u"ABC"));
        QVERIFY(!Bands::fromLineField(u""));
    }

    void everyBandAndModeHasItsOwnDupeCode() {
        QSet<char> bandCodes;
        for (const BandInfo& band : Bands::all())
            bandCodes.insert(band.dupeCode);
        QCOMPARE(bandCodes.size(), 13);
        QSet<char> modeCodes{'x'};
        for (const ModeInfo& mode : Modes::all())
            modeCodes.insert(mode.dupeCode);
        QCOMPARE(modeCodes.size(), 7);
        QCOMPARE(dupeKey(Bands::dupeCode(u"20M"), Modes::byName(u"CW")->dupeCode, false, u"SP9ABC"),
                 QStringLiteral("31SP9ABC"));
        QCOMPARE(dupeKey(Bands::dupeCode(u"20M"), Modes::byName(u"CW")->dupeCode, true, u"SP9ABC"),
                 QStringLiteral("3xSP9ABC"));
        QCOMPARE(Bands::selectorList(false).size(), 10);
        QCOMPARE(Bands::selectorList(true).size(), 13);
        QCOMPARE(Bands::selectorList(true).at(3), QStringLiteral("30M"));
        QCOMPARE(Modes::selectorList(true).last(), QStringLiteral("HELL"));
    }

    void defaultReports_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("afterQso");
        QTest::addColumn<QString>("expected");
        QTest::newRow("CW after QSO") << "CW"
                                      << "579" << true << "599";
        QTest::newRow("SSB after QSO") << "SSB"
                                       << "57" << true << "59";
        QTest::newRow("FM on change") << "FM"
                                      << "599" << false << "59";
        QTest::newRow("RTTY on change") << "RTTY"
                                        << "59" << false << "599";
        QTest::newRow("RTTY after QSO") << "RTTY"
                                        << "599" << true << "59";
        QTest::newRow("aurora kept in CW") << "CW"
                                           << "57A" << true << "59A";
        QTest::newRow("scatter kept") << "SSB"
                                      << "55S" << false << "59S";
        QTest::newRow("aurora wins over scatter") << "CW"
                                                  << "5AS" << false << "59A";
    }
    void defaultReports() {
        QFETCH(QString, mode);
        QFETCH(QString, current);
        QFETCH(bool, afterQso);
        QFETCH(QString, expected);
        QCOMPARE(Modes::defaultReport(mode, current,
                                      afterQso ? Modes::ReportReset::AfterQso : Modes::ReportReset::ModeSwitch),
                 expected);
    }

    void memoTextSplitsIntoLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty field") << "" << QStringList();
        QTest::newRow("one line") << "CQ TEST" << QStringList{"CQ TEST"};
        QTest::newRow("final break starts no line") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("a lone break gives no line") << "\n" << QStringList();
        QTest::newRow("blank line inside is kept") << "a\n\nb" << QStringList{"a", "", "b"};
        QTest::newRow("two final breaks keep one empty line") << "a\n\n" << QStringList{"a", ""};
    }
    void memoTextSplitsIntoLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(memoLines(text), lines);
    }

    void modeCodesMatchSelectorTexts() {
        QVERIFY(Modes::codeMatchesMode(u"PH", u"SSB"));
        QVERIFY(Modes::codeMatchesMode(u"RY", u"RTTY"));
        QVERIFY(!Modes::codeMatchesMode(u"PH", u"CW"));
        QCOMPARE(Modes::dupeCodeForLineCode(u"ZZ"), '?');
    }
};

QTEST_GUILESS_MAIN(TestQsoLine)
#include "tst_qsoline.moc"
