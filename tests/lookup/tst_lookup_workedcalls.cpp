#include "core/textfile.h"
#include "lookup/workedcalls.h"
#include "lookup/workedcallsgroups.h"
#include "lookuptestlog.h"

#include <QSet>

using namespace Qt::StringLiterals;

#include <QTest>

// The worked-calls lists of the current band: one per mode, ten call-area columns.
class TestWorkedCalls : public QObject {
    Q_OBJECT

private slots:
    void column_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("entry");
        QTest::newRow("area in the second character") << "G4ABC" << 3 << "G4ABC ";
        QTest::newRow("area in the third character") << "SP7ABC" << 6 << "SP7ABC";
        QTest::newRow("cut to six characters") << "SP7ABCDE" << 6 << "SP7ABC";
        QTest::newRow("second character wins over third") << "S5 9AA" << 4 << "S5 9AA";
        QTest::newRow("area 0 goes to Inne whole") << "3Z0X" << 9 << "3Z0X";
        QTest::newRow("area 0 long callsign stays whole") << "HF0POL/MM" << 9 << "HF0POL/MM";
        QTest::newRow("no digit goes to Inne") << "OEAAAA" << 9 << "OEAAAA";
        QTest::newRow("digit only in the fourth character") << "OEA1" << 9 << "OEA1";
        QTest::newRow("one character") << "K" << 9 << "K";
        QTest::newRow("area 9") << "SQ9XYZ" << 8 << "SQ9XYZ";
        QTest::newRow("area 1 two characters") << "K1" << 0 << "K1    ";
    }
    void column() {
        QFETCH(QString, call);
        QFETCH(int, column);
        QFETCH(QString, entry);
        QCOMPARE(WorkedCallsGroups::columnFor(call), column);
        QCOMPARE(WorkedCallsGroups::entryFor(call), entry);
    }

    void prefix_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("prefix");
        QTest::newRow("SP") << "SP7ABC" << int(WorkedCallsGroups::Prefix::SP);
        QTest::newRow("SQ") << "SQ9XYZ" << int(WorkedCallsGroups::Prefix::SQ);
        QTest::newRow("SN") << "SN0HQ" << int(WorkedCallsGroups::Prefix::SN);
        QTest::newRow("SO is other") << "SO5X  " << int(WorkedCallsGroups::Prefix::Other);
        QTest::newRow("foreign") << "DL1ABC" << int(WorkedCallsGroups::Prefix::Other);
        QTest::newRow("single letter") << "S" << int(WorkedCallsGroups::Prefix::Other);
    }
    void prefix() {
        QFETCH(QString, entry);
        QFETCH(int, prefix);
        QCOMPARE(int(WorkedCallsGroups::prefixOf(entry)), prefix);
    }

    void captionsAndHeader() {
        QCOMPARE(WorkedCallsGroups::caption(u"20M", WorkedCallsGroups::List::SSB),
                 QStringLiteral("Lista zalogowanych znaków - pasmo 20M   SSB"));
        QCOMPARE(WorkedCallsGroups::caption(u"2M", WorkedCallsGroups::List::CW),
                 QStringLiteral("Lista zalogowanych znaków - pasmo 2M   CW"));
        QCOMPARE(WorkedCallsGroups::caption(u"70CM", WorkedCallsGroups::List::FM),
                 QStringLiteral("Lista zalogowanych znaków - pasmo 70CM   FM"));
        QCOMPARE(WorkedCallsGroups::headerText(0), QStringLiteral("1"));
        QCOMPARE(WorkedCallsGroups::headerText(8), QStringLiteral("9"));
        QCOMPARE(WorkedCallsGroups::headerText(9), QStringLiteral("Inne"));
    }

    void logIsGroupedByModeAndArea() {
        LookupTestLog log;
        log.load({{"20M", "CW", "SP7ABC"},
                  {"20M", "CW", "SP7ABCDE"},
                  {"20M", "CW", "3Z0X"},
                  {"20M", "CW", "OEAAAA"},
                  {"40M", "CW", "SP9ZZZ"},
                  {"20M", "PH", "SQ9XYZ"},
                  {"20M", "FM", "SN1A"},
                  {"20M", "RY", "DL1RTY"},
                  {"20M", "CW", "DL1AB"},
                  {"20M", "CW", "DL1AA"}});
        WorkedCallsGroups groups;
        groups.rebuild(log.session.log().records(), Band::fromName(u"20M"));
        using L = WorkedCallsGroups::List;
        QCOMPARE(groups.columnEntries(L::CW, 6), QStringList{"SP7ABC"});
        QCOMPARE(groups.columnEntries(L::CW, 9), (QStringList{"3Z0X", "OEAAAA"}));
        QCOMPARE(groups.columnEntries(L::CW, 0), (QStringList{"DL1AA ", "DL1AB "}));
        QVERIFY(groups.columnEntries(L::CW, 8).isEmpty()); // SP9ZZZ was on 40M
        QCOMPARE(groups.columnEntries(L::SSB, 8), QStringList{"SQ9XYZ"});
        QCOMPARE(groups.columnEntries(L::FM, 0), QStringList{"SN1A  "});
        int listed = 0;
        for (int list = 0; list < WorkedCallsGroups::kLists; ++list)
            for (int column = 0; column < WorkedCallsGroups::kColumns; ++column)
                for (const QString& entry : groups.column(L(list), column)) {
                    QVERIFY2(!entry.startsWith("DL1RTY"), "an RTTY contact is listed");
                    ++listed;
                }
        QCOMPARE(listed, 7);

        groups.rebuild(log.session.log().records(), Band::fromName(u"40M"));
        QCOMPARE(groups.columnEntries(L::CW, 8), QStringList{"SP9ZZZ"});
        QVERIFY(groups.columnEntries(L::CW, 6).isEmpty());
    }

    void addingALineMatchesARebuild() {
        LookupTestLog log;
        log.load({{"20M", "CW", "SP7ABC"}});
        WorkedCallsGroups groups;
        groups.rebuild(log.session.log().records(), Band::fromName(u"20M"));
        QVERIFY(!groups.add(*QsoRecord::fromLine(LookupTestLog::line({"20M", "CW", "SP7ABCXY"}, 5)),
                            Band::fromName(u"20M")));
        QVERIFY(
            !groups.add(*QsoRecord::fromLine(LookupTestLog::line({"80M", "CW", "SP5AAA"}, 5)), Band::fromName(u"20M")));
        QVERIFY(
            !groups.add(*QsoRecord::fromLine(LookupTestLog::line({"20M", "HE", "SP5AAA"}, 5)), Band::fromName(u"20M")));
        QVERIFY(
            groups.add(*QsoRecord::fromLine(LookupTestLog::line({"20M", "CW", "SP5AAA"}, 5)), Band::fromName(u"20M")));
        QCOMPARE(groups.columnEntries(WorkedCallsGroups::List::CW, 4), QStringList{"SP5AAA"});
    }
    // The callsign list found by the text and by the bytes the log file holds, against a plain set, through the
    // growth of its table; callsigns that differ only in a letter of the file's code page stay apart.
    void callsFoundByTextAndByFileBytes() {
        WorkedCalls calls;
        QSet<QString> reference;
        QStringList order;
        const QStringList odd{u"SP9ŁÓD"_s, u"SP9ŁOD"_s, u"SP9LÓD"_s, u"Ś"_s, u"S"_s};
        for (int i = 0; i < 3000; ++i) {
            const QString call = i < odd.size() ? odd.at(i) : QStringLiteral("SQ%1").arg(i % 2100, 0, 36).toUpper();
            const bool fresh = !reference.contains(call);
            QCOMPARE(calls.add(call, call + u";_GW;"_s), fresh);
            if (fresh)
                order.append(call);
            reference.insert(call);
            QCOMPARE(calls.indexOf(call), order.indexOf(call));
        }
        QCOMPARE(calls.size(), reference.size());
        QCOMPARE(calls.calls(), order);
        for (qsizetype i = 0; i < order.size(); ++i) {
            QCOMPARE(calls.indexOfBytes(TextFile::encode(order.at(i))), i);
            QCOMPARE(calls.info(i), QString(order.at(i) + u";_GW;"_s));
        }
        QCOMPARE(calls.indexOf(u"SP9ŁÓ"), -1);
        QCOMPARE(calls.indexOfBytes(TextFile::encode(u"SP9ŁÓDX")), -1);
        QCOMPARE(calls.infoFor(u"SP9LOD"), QString());
        const quint64 revision = calls.revision();
        calls.clear();
        QVERIFY(calls.revision() != revision);
        QVERIFY(calls.isEmpty());
        QCOMPARE(calls.indexOf(u"SP9ŁÓD"), -1);
        QVERIFY(calls.add(u"SP9ŁÓD"_s, u"SP9ŁÓD;;"_s));
        QCOMPARE(calls.indexOfBytes(TextFile::encode(u"SP9ŁÓD")), 0);
    }
};

QTEST_GUILESS_MAIN(TestWorkedCalls)
#include "tst_lookup_workedcalls.moc"
