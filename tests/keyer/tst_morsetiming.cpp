#include "keyer/morsetiming.h"

#include <QTest>

class TestMorseTiming : public QObject {
    Q_OBJECT
private slots:
    void timingFollowsSpeedRatiosAndFactor_data() {
        QTest::addColumn<int>("wpm");
        QTest::addColumn<int>("dash");
        QTest::addColumn<int>("gap");
        QTest::addColumn<int>("longGap");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("20 wpm default ratios") << 20 << 30 << 10 << 30 << 1.0 << QList<int>{60, 180, 60, 180};
        QTest::newRow("17 wpm rounds dot to 71") << 17 << 30 << 10 << 30 << 1.0 << QList<int>{71, 213, 71, 213};
        QTest::newRow("40 wpm") << 40 << 30 << 10 << 30 << 1.0 << QList<int>{30, 90, 30, 90};
        QTest::newRow("10 wpm slowest") << 10 << 30 << 10 << 30 << 1.0 << QList<int>{120, 360, 120, 360};
        QTest::newRow("60 wpm fastest") << 60 << 30 << 10 << 30 << 1.0 << QList<int>{20, 60, 20, 60};
        QTest::newRow("speed above range clamps to 60") << 75 << 30 << 10 << 30 << 1.0 << QList<int>{20, 60, 20, 60};
        // 1200/48 = 25; 25 * 5 / 10 = 12.5 -> 12 (half to even); 25 * 15 / 10 = 37.5 -> 38
        QTest::newRow("half goes to even, down") << 48 << 30 << 5 << 30 << 1.0 << QList<int>{25, 75, 12, 75};
        QTest::newRow("half goes to even, up") << 48 << 30 << 15 << 30 << 1.0 << QList<int>{25, 75, 38, 75};
        // 1200/(16*1.0) = 75; 75*25/10 = 187.5 -> 188; 75*35/10 = 262.5 -> 262
        QTest::newRow("ratio halves") << 16 << 25 << 10 << 35 << 1.0 << QList<int>{75, 188, 75, 262};
        QTest::newRow("calibration factor shortens") << 20 << 30 << 10 << 30 << 1.2 << QList<int>{50, 150, 50, 150};
        QTest::newRow("dot 2.5 style half: 1200/(32*15)") << 32 << 30 << 10 << 30 << 15.0 << QList<int>{2, 6, 2, 6};
    }
    void timingFollowsSpeedRatiosAndFactor() {
        QFETCH(int, wpm);
        QFETCH(int, dash);
        QFETCH(int, gap);
        QFETCH(int, longGap);
        QFETCH(double, factor);
        QFETCH(QList<int>, expected);
        const MorseTiming t = Morse::ComputeTiming(wpm, dash, gap, longGap, factor);
        QCOMPARE((QList<int>{t.dotLength, t.dashLength, t.elementGap, t.longGap}), expected);
    }

    void halvesRoundToEven() {
        QCOMPARE(Morse::roundHalfEven(2.5), 2);
        QCOMPARE(Morse::roundHalfEven(3.5), 4);
        QCOMPARE(Morse::roundHalfEven(70.58), 71);
    }

    void codeTable_data() {
        QTest::addColumn<QChar>("c");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("A") << QChar(u'A') << ".-";
        QTest::newRow("Q") << QChar(u'Q') << "--.-";
        QTest::newRow("Z") << QChar(u'Z') << "--..";
        QTest::newRow("0") << QChar(u'0') << "-----";
        QTest::newRow("9") << QChar(u'9') << "----.";
        QTest::newRow("slash") << QChar(u'/') << "-..-.";
        QTest::newRow("backslash keys as slash") << QChar(u'\\') << "-..-.";
        QTest::newRow("equals is double dash") << QChar(u'=') << "-...-";
        QTest::newRow("question mark") << QChar(u'?') << "..--..";
        QTest::newRow("lower case has no code") << QChar(u'a') << "";
        QTest::newRow("Polish letter has no code") << QChar(u'Ą') << "";
        QTest::newRow("angle bracket has no code") << QChar(u'<') << "";
        QTest::newRow("comma has no code") << QChar(u',') << "";
    }
    void codeTable() {
        QFETCH(QChar, c);
        QFETCH(QString, pattern);
        QCOMPARE(Morse::code(c), pattern);
    }

    void cutNumbersReplaceZeroAndNine() {
        QCOMPARE(Morse::cutNumbers(QStringLiteral("009")), QStringLiteral("TTN"));
        QCOMPARE(Morse::cutNumbers(QStringLiteral("599")), QStringLiteral("5NN"));
        QCOMPARE(Morse::cutNumbers(QStringLiteral("123")), QStringLiteral("123"));
    }
};

QTEST_GUILESS_MAIN(TestMorseTiming)
#include "tst_morsetiming.moc"
