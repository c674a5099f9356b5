#include "core/bands.h"
#include "core/memotext.h"
#include "core/modes.h"
#include "core/qsoline.h"
#include "core/textfile.h"

#include <QSet>
#include <QTest>

class TestQsoLine : public QObject {
    Q_OBJECT

private:
    static QsoFields sample() {
        QsoFields f;
        f.date = QStringLiteral("2024-06-01");
        f.time = QStringLiteral("12:34:56");
        f.band = Band::fromName(u"20M");
        f.mode = Mode::cw();
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
        QCOMPARE(line, QStringLiteral("2024-06-01 123456  20M CW 599         001 SP9ABC          599      12 SIC "));
        const Qso qso = *Qso::fromLine(line);
        QCOMPARE(qso.date, QStringLiteral("2024-06-01"));
        QCOMPARE(qso.time, QStringLiteral("123456"));
        QCOMPARE(qso.band, Band::fromName(u"20M"));
        QCOMPARE(qso.mode, Mode::cw());
        QCOMPARE(qso.rstSent, QStringLiteral("599"));
        QCOMPARE(qso.stx, QStringLiteral("001"));
        QCOMPARE(qso.call, QStringLiteral("SP9ABC"));
        QCOMPARE(qso.rstRcvd, QStringLiteral("599"));
        QCOMPARE(qso.srx, QStringLiteral("12 SIC"));
        QVERIFY(!qso.dupe);
        QVERIFY(Qso::fromLine(line + QStringLiteral("DUPE"))->dupe);
        QVERIFY(QsoLine::isDupe(line + QStringLiteral("DUPE")));
        // A callsign "DUPE" is no dupe mark.
        QVERIFY(!QsoLine::isDupe(line.left(42) + QStringLiteral(" DUPE")));
    }

    // Every line the program writes reads back into the same contact and is composed into the same text, and
    // the compact record keeps the text byte for byte.
    void linesGoRoundTheTypedContact_data() {
        QTest::addColumn<QString>("line");
        const QString base = QsoLine::compose(sample());
        QTest::newRow("HF serial and county") << base + QStringLiteral(" SIC");
        QTest::newRow("dupe") << base + QStringLiteral("DUPE");
        QTest::newRow("VHF serial and locators")
            << QStringLiteral("2024-06-01 100300 70CM FM 59     1 KO02MD SP3CC           59      1JN89XX   12");
        QTest::newRow("fifteen-letter call and long exchanges")
            << QStringLiteral("2024-06-01 100000 160M RY 599 12345678901 SP9ABCDEFGHIJKL 599 ABCDEFGHIJK ");
        QTest::newRow("mode outside the table") << base.left(23) + QStringLiteral("XX") + base.mid(25);
        QsoFields polish = sample();
        polish.srx = QStringLiteral("ŁÓDŹ");
        QTest::newRow("Polish letters in the exchange") << QsoLine::compose(polish);
    }
    void linesGoRoundTheTypedContact() {
        QFETCH(QString, line);
        const std::optional<Qso> qso = Qso::fromLine(line);
        QVERIFY(qso);
        QCOMPARE(qso->line(), line.left(74) + line.mid(74).trimmed());
        const std::optional<QsoRecord> record = QsoRecord::fromLine(line);
        QVERIFY(record);
        QCOMPARE(record->body(), line.left(74));
        QCOMPARE(record->qso().body(), qso->body());
        QCOMPARE(record->band(), qso->band);
        QCOMPARE(record->mode(), qso->mode);
        QCOMPARE(TextFile::decode(record->field(QsoField::Call)), qso->call);
    }

    void exchangePartsStandInTheirCells() {
        QsoFields vhf = sample();
        vhf.band = Band::fromName(u"70CM");
        vhf.stxFirst = QStringLiteral("1");
        vhf.stxFixed = QStringLiteral("-KO02MD");
        vhf.srx = QStringLiteral("12JN89XX");
        vhf.time = QStringLiteral("10:03:00");
        const Qso qso = *Qso::fromLine(QsoLine::compose(vhf));
        QCOMPARE(qso.stxSerial(), QStringLiteral("   1 "));
        QCOMPARE(qso.stxLocator(), QStringLiteral("KO02MD"));
        QCOMPARE(qso.srxSerial(), QStringLiteral("   12"));
        QCOMPARE(qso.srxLocator(), QStringLiteral("JN89XX"));
        QCOMPARE(qso.srxSquare(), QStringLiteral("JN89"));
        QCOMPARE(qso.dateAndMinute(), QStringLiteral("2024-06-01 1003"));
    }

    void recordsSortAsTheirLines() {
        QStringList lines;
        for (const QString& suffix : {QStringLiteral(""), QStringLiteral("DUPE"), QStringLiteral(" SIC")})
            lines << QsoLine::compose(sample()) + suffix;
        QsoFields other = sample();
        other.call = QStringLiteral("ŁÓDŹ");
        lines << QsoLine::compose(other);
        other.call = QStringLiteral("ZZZ");
        lines << QsoLine::compose(other);
        other.time = QStringLiteral("12:34:55");
        lines << QsoLine::compose(other);
        std::vector<QsoRecord> records;
        for (const QString& line : lines) {
            QsoRecord record = *QsoRecord::fromLine(line);
            record.setSuffix(QStringView(line).mid(74), line.endsWith(QLatin1String("DUPE")));
            records.push_back(record);
        }
        std::sort(records.begin(), records.end());
        std::sort(lines.begin(), lines.end());
        QStringList sorted;
        for (const QsoRecord& record : records)
            sorted << record.line();
        QCOMPARE(sorted, lines);
    }

    void fieldsAreCutAndNormalised() {
        QsoFields f = sample();
        f.stxFirst = QStringLiteral(" 123456789");
        f.stxFixed = QStringLiteral("-KO02MD");
        f.call = QStringLiteral("sp9abcdefghijklmnop");
        f.srx = QStringLiteral("12 sic");
        f.band = Band::fromName(u"6M");
        const Qso qso = *Qso::fromLine(QsoLine::compose(f));
        QCOMPARE(qso.stx, QStringLiteral("6789 KO02MD"));
        QCOMPARE(qso.call, QStringLiteral("SP9ABCDEFGHIJKL"));
        QCOMPARE(QsoLine::compose(f).mid(42, 16), QStringLiteral("SP9ABCDEFGHIJKLM"));
        QCOMPARE(qso.srx, QStringLiteral("12SIC"));
        QCOMPARE(QsoLine::compose(f).mid(18, 4), QStringLiteral("  6M"));
        f.band = Band::fromName(u"70CM");
        QCOMPARE(QsoLine::compose(f).mid(18, 4), QStringLiteral("70CM"));
    }

    void sentExchangeDropsUnderscoresAndTurnsHyphensIntoBlanks() {
        QCOMPARE(QsoLine::joinSentExchange(u" 001 ", u"-KO02MD"), QStringLiteral("001 KO02MD"));
        QCOMPARE(QsoLine::joinSentExchange(u"12-SIC", u""), QStringLiteral("12 SIC"));
        QCOMPARE(QsoLine::joinSentExchange(u"A_B", u"_C"), QStringLiteral("ABC"));
    }

    void shortLinesHoldNoBand() {
        QVERIFY(!Qso::fromLine(u"2024-06-01"));
        QVERIFY(!QsoRecord::fromLine(u""));
        const Qso cut = *Qso::fromLine(u"2024-06-01 120000  20M CW 599");
        QVERIFY(cut.call.isEmpty());
        QVERIFY(cut.srx.isEmpty());
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
        QCOMPARE(Band::fromName(name).isVhf(), vhf);
        QCOMPARE(Band::fromLineField(field.left(3)).name(), name);
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
        const Band b20 = Band::fromName(u"20M");
        QCOMPARE(DupeKey(b20, Mode::cw(), false, u"SP9ABC"), DupeKey('3', '1', false, "SP9ABC"));
        QVERIFY(!(DupeKey(b20, Mode::cw(), false, u"SP9ABC") == DupeKey(b20, Mode::phone(), false, u"SP9ABC")));
        QCOMPARE(DupeKey(b20, Mode::cw(), true, u"SP9ABC"), DupeKey(b20, Mode::phone(), true, u"SP9ABC"));
        QVERIFY(!(DupeKey(b20, Mode::cw(), false, u"SP9AB") == DupeKey(b20, Mode::cw(), false, u"SP9ABC")));
        QCOMPARE(Bands::selectorList(false).size(), 10);
        QCOMPARE(Bands::selectorList(true).size(), 13);
        QCOMPARE(Bands::selectorList(true).at(3), QStringLiteral("30M"));
        QCOMPARE(Modes::selectorList(true).last(), QStringLiteral("HELL"));
    }

    // The flat key set against the container it replaced, through its growth from empty.
    void dupeKeySetAgreesWithAHashSet() {
        DupeKeySet set;
        QSet<QByteArray> reference;
        QVERIFY(!set.contains(DupeKey()));
        for (int i = 0; i < 5000; ++i) {
            const QByteArray call = "SP" + QByteArray::number(i % 1700);
            const char band = char('0' + i % 3);
            QCOMPARE(set.insert(DupeKey(band, '1', false, call)), !reference.contains(band + call));
            reference.insert(band + call);
            QVERIFY(set.contains(DupeKey(band, '1', false, call)));
            QVERIFY(!set.contains(DupeKey(band, '0', false, call)));
        }
        QCOMPARE(set.size(), reference.size());
        QVERIFY(set.insert(DupeKey()));
        QVERIFY(!set.insert(DupeKey()));
        QVERIFY(set.contains(DupeKey()));
        set.clear();
        QCOMPARE(set.size(), 0);
        QVERIFY(!set.contains(DupeKey('0', '1', false, "SP0")));
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
        QCOMPARE(Modes::defaultReport(Modes::byName(mode), current,
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
        QCOMPARE(Mode::fromCode(u"PH"), Mode::fromName(u"SSB"));
        QCOMPARE(Mode::fromCode(u"RY"), Mode::fromName(u"RTTY"));
        QVERIFY(Mode::fromName(u"RTTY").isDigital());
        QVERIFY(!(Mode::fromCode(u"PH") == Mode::cw()));
        const Mode unknown = Mode::fromCode(u"ZZ");
        QVERIFY(!unknown.isKnown());
        QCOMPARE(unknown.code(), QStringLiteral("ZZ"));
        QCOMPARE(unknown.dupeCode(), '?');
    }
};

QTEST_GUILESS_MAIN(TestQsoLine)
#include "tst_qsoline.moc"
