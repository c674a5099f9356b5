#include "keyer/keyerentry.h"
#include "keyer/macroexpander.h"
#include "keyer/messagebuffers.h"

#include <QTest>

namespace {

const QChar kNbsp(0xA0);

// The last logged line: sent exchange "009  JO82LJ" (columns 31-41), call SP9XYZ (43-57) and received "KRA 12"
// (63-73). The received exchange stands left in its column, where the program writes it right-aligned: the
// macros take the trimmed column, so either way they read "KRA 12".
const QString kLastLine = QStringLiteral("2024-05-01 120000   2M CW     009  JO82LJ SP9XYZ              KRA 12      ");

} // namespace

class TestMacros : public QObject {
    Q_OBJECT
private:
    PlainKeyerEntry m_entry;
    MessageBuffers m_buffers;

    void resetEntry() {
        m_entry = PlainKeyerEntry();
        m_entry.call = QStringLiteral("SP1ABC");
        m_entry.rst = QStringLiteral("599");
        m_entry.first = QStringLiteral("009");
        m_entry.second = QStringLiteral("ABC");
        m_entry.received = QStringLiteral("12-KRA");
        m_entry.contestCall = QStringLiteral("SP5KVR");
        m_entry.last = Qso::fromLine(kLastLine);
        QVERIFY(m_entry.last);
        m_buffers = MessageBuffers();
    }

private slots:
    void init() { resetEntry(); }

    void expansion_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("callGiven");
        QTest::addColumn<bool>("fullDigits");
        QTest::addColumn<QString>("expected");
        const QString nb = QString(kNbsp);
        QTest::newRow("call, report and exchange with cut numbers and extra gap")
            << "<CALL> 5NN <STX>" << true << false << QStringLiteral("$") + nb + QStringLiteral(" 5NN  TTN ABC");
        QTest::newRow("shift keeps full digits in the exchange")
            << "<CALL> 5NN <STX>" << true << true << QStringLiteral("$") + nb + QStringLiteral(" 5NN  009 ABC");
        QTest::newRow("report is cut even with full digits") << "<RAPORT>" << true << true << "5NN";
        QTest::newRow("grupa is the same as stx") << "<GRUPA>" << true << false << QStringLiteral(" TTN ABC") + nb;
        QTest::newRow("call of the last QSO when the field is empty") << "<CALL>" << false << false << "SP9XYZ";
        QTest::newRow("exchange of the last QSO when no call")
            << "<STX>" << false << false << QStringLiteral(" 009  JO82LJ") + nb;
        QTest::newRow("stx1 cut") << "<STX1>" << true << false << QStringLiteral(" TTN") + nb;
        QTest::newRow("stx1 of last QSO") << "<STX1>" << false << false << QStringLiteral(" TTN") + nb;
        QTest::newRow("stx2 never cut") << "<STX2>" << true << false << QStringLiteral(" ABC") + nb;
        QTest::newRow("srx dashes become blanks, cut") << "<SRX>" << true << false << "12 KRA";
        QTest::newRow("srx of the last QSO") << "<SRX>" << false << false << "KRA 12";
        QTest::newRow("my call") << "TEST <MYCALL>" << true << false << "TEST SP5KVR";
        QTest::newRow("speed controls") << "<CW_UP>QRS<CW_DOWN>" << true << false << "+QRS-";
        QTest::newRow("save qso") << "TU<SAVEQSO>" << true << false << "TU*";
        QTest::newRow("loop") << "CQ<LOOP>" << true << false << "CQ&";
        QTest::newRow("unknown token is dropped") << "A<XYZ>B" << true << false << "AB";
        QTest::newRow("unclosed call sends its letters") << "TU <CALL" << true << false << "TU CALL";
        QTest::newRow("long switches cut numbers off for what follows")
            << "<RAPORT> <LONG><RAPORT>" << true << false << "5NN 599";
        QTest::newRow("marker goes after the first dollar")
            << "<CALL> <CALL> <STX2>" << true << false << QStringLiteral("$") + nb + QStringLiteral(" $  ABC");
        QTest::newRow("empty log contributes nothing") << "<CALL>" << false << false << "";
    }
    void expansion() {
        QFETCH(QString, input);
        QFETCH(bool, callGiven);
        QFETCH(bool, fullDigits);
        QFETCH(QString, expected);
        if (!callGiven)
            m_entry.call.clear();
        if (QByteArray(QTest::currentDataTag()) == "empty log contributes nothing")
            m_entry.last.reset();
        const MacroExpansion e = ExpandMacros(input, m_entry, m_buffers, {true, true, fullDigits});
        QCOMPARE(e.text, expected);
    }

    void srxCutNumbersApply() {
        m_entry.received = QStringLiteral("009-A");
        QCOMPARE(ExpandMacros(QStringLiteral("<SRX>"), m_entry, m_buffers, {true, true, false}).text,
                 QStringLiteral("TTN A"));
    }

    void exchangeWithoutExtraGap() {
        QCOMPARE(ExpandMacros(QStringLiteral("<STX>"), m_entry, m_buffers, {false, false, false}).text,
                 QStringLiteral(" 009ABC") + kNbsp);
    }

    void lastLineExchangeInLocatorMode() {
        m_entry.call.clear();
        m_entry.options.mode = AnalysisMode::Locator;
        m_entry.second = QStringLiteral("-JO82LJ");
        QCOMPARE(ExpandMacros(QStringLiteral("<STX>"), m_entry, m_buffers, {true, true, false}).text,
                 QStringLiteral(" TTN JO82LJ") + kNbsp);
    }

    void dupeIndicatorDecidesQsoB4() {
        m_entry.dupe = true;
        QCOMPARE(ExpandMacros(QStringLiteral("TU <QSOB4>QRZ"), m_entry, m_buffers, {}).text, QStringLiteral("QRZ"));
        m_entry.dupe = false;
        QCOMPARE(ExpandMacros(QStringLiteral("TU <QSOB4>QRZ"), m_entry, m_buffers, {}).text, QStringLiteral("TU "));
    }

    void bufferReferenceComesLast() {
        m_buffers.set(2, {QStringLiteral("F2"), QStringLiteral("CQ"), {}, false});
        QCOMPARE(ExpandMacros(QStringLiteral("<F2> TEST"), m_entry, m_buffers, {}).text, QStringLiteral(" TEST CQ"));
    }

    void insAndPlusBuffers() {
        m_buffers.set(11, {QStringLiteral("INS"), QStringLiteral("AGN"), {}, false});
        m_buffers.set(12, {QStringLiteral("+"), QStringLiteral("TU"), {}, false});
        QCOMPARE(ExpandMacros(QStringLiteral("<INS><+>"), m_entry, m_buffers, {}).text, QStringLiteral(" AGN TU"));
    }

    void growingSelfReferenceStopsPast255Characters() {
        m_buffers.set(1, {QStringLiteral("F1"), QStringLiteral("<F1> <F1>"), {}, false});
        const MacroExpansion e = ExpandMacros(QStringLiteral("<F1> <F1>"), m_entry, m_buffers, {});
        // Each reference takes "<F1>" (and a blank before it) and appends " <F1> <F1>": the input grows by
        // five characters a step until it passes 255; the rest goes out unexpanded.
        QVERIFY(e.bufferReferences < Macros::kMaxBufferReferences);
        QVERIFY(e.text.size() > Macros::kInputLimit);
        QVERIFY(e.text.contains(QStringLiteral("<F1>")));
        QCOMPARE(e.bufferReferences, 50);
    }

    void selfReferenceThatDoesNotGrowEnds() {
        m_buffers.set(1, {QStringLiteral("F1"), QStringLiteral("<F1>"), {}, false});
        const MacroExpansion e = ExpandMacros(QStringLiteral("<F1>"), m_entry, m_buffers, {});
        QCOMPARE(e.bufferReferences, Macros::kMaxBufferReferences);
        QCOMPARE(e.text.trimmed(), QString());
    }

    void saveQsoMovesFocusOnlyOutsideTheCallField() {
        m_entry.callFocused = true;
        ExpandMacros(QStringLiteral("<SAVEQSO>"), m_entry, m_buffers, {});
        QCOMPARE(m_entry.focusNextCount, 0);
        m_entry.callFocused = false;
        ExpandMacros(QStringLiteral("<SAVEQSO>"), m_entry, m_buffers, {});
        QCOMPARE(m_entry.focusNextCount, 1);
    }

    void shortAndLongReportTheSettingChanges() {
        QCOMPARE(ExpandMacros(QStringLiteral("<LONG>"), m_entry, m_buffers, {}).cutNumbers, std::optional<bool>(false));
        QCOMPARE(ExpandMacros(QStringLiteral("<SHORT>"), m_entry, m_buffers, {false, true, false}).cutNumbers,
                 std::optional<bool>(true));
        QVERIFY(ExpandMacros(QStringLiteral("<LOOP>"), m_entry, m_buffers, {}).showLoopLabel);
    }
};

QTEST_GUILESS_MAIN(TestMacros)
#include "tst_macros.moc"
