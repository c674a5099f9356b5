#include "analysis/countylist.h"
#include "contest/contestchoice.h"
#include "contest/contestscore.h"
#include "contest/countryfile.h"
#include "log/logbook.h"
#include "log/logloader.h"
#include "testqso.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QTest>

namespace {

const QString kCountryFile = CountryFile::systemPath();

ContestDefinition shipped(const QString& name) {
    const ContestDefinitionRead read = readContestDefinition(KVR_SOURCE_DIR "/data/contests/" + name + ".ini");
    if (!read.definition)
        qFatal("%s", qPrintable(read.error));
    return *read.definition;
}

// One contact of a scenario and what the score must say of it when it is logged after the ones before.
struct Step {
    const char* call;
    const char* band;
    const char* mode;
    const char* srx;
    bool counted; // in the contest and not a dupe
    int points;
    QStringList newMultipliers;
};

struct Scenario {
    QString contest;
    QString ownCall;
    std::vector<Step> steps;
    ScoreTotals totals;
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

// Contests scored contact by contact on the real country file: points by country and continent, multipliers
// per band or once, dupes by the contest's rule, the six WAE entities counted as their DXCC country.
class TestContestScore : public QObject {
    Q_OBJECT

    CountryFile m_countries;

private slots:
    void initTestCase() {
        if (!QFileInfo::exists(kCountryFile))
            QSKIP("hamradio-files' cty.dat is not installed");
        QVERIFY(m_countries.load(kCountryFile).ok);
    }

    void contactsScoreAsTheContestCounts_data() {
        QTest::addColumn<Scenario>("scenario");
        QTest::newRow("CQ WPX from Poland")
            << Scenario{"wpx",
                        "SP9XYZ",
                        {{"SP9ABC", "20M", "CW", "001", true, 1, {"SP9"}},
                         {"DL1ABC", "40M", "CW", "002", true, 2, {"DL1"}},
                         {"DL1ABC", "40M", "PH", "003", false, 0, {}}, // once per band, whatever the mode
                         {"DL1ABC", "20M", "PH", "004", true, 1, {}},
                         {"K1ABC", "80M", "CW", "005", true, 6, {"K1"}},
                         {"JA1XYZ", "10M", "CW", "006", true, 3, {"JA1"}},
                         {"DL/SP9ABC", "15M", "CW", "007", true, 1, {"DL0"}},
                         {"SP9ABC", "30M", "CW", "008", false, 0, {}}}, // a WARC band is no band of the contest
                        {6, 14, 5, 70}};
        QTest::newRow("CQ WPX between North Americans") << Scenario{"wpx",
                                                                    "W1AW",
                                                                    {{"VE3ABC", "20M", "CW", "1", true, 2, {"VE3"}},
                                                                     {"VE3ABC", "80M", "CW", "2", true, 4, {}},
                                                                     {"W6ABC", "40M", "CW", "3", true, 1, {"W6"}},
                                                                     {"SP9ABC", "40M", "CW", "4", true, 6, {"SP9"}}},
                                                                    {4, 13, 3, 39}};
        QTest::newRow("SP DX Contest, Polish station")
            << Scenario{"spdx-sp",
                        "SP9XYZ",
                        {{"DL1ABC", "20M", "CW", "001", true, 1, {"DL"}},
                         {"DL2XYZ", "20M", "PH", "002", true, 1, {}},
                         {"DL2XYZ", "40M", "CW", "003", true, 1, {"DL"}},
                         {"DL2XYZ", "40M", "CW", "004", false, 0, {}},
                         {"SP5AAA", "20M", "CW", "005", true, 0, {}}, // Poland scores nothing
                         {"W1AW", "20M", "CW", "006", true, 3, {"K"}},
                         {"IT9ABC", "20M", "CW", "007", true, 1, {"I"}}, // Sicily counts as Italy
                         {"I2ABC", "20M", "CW", "008", true, 1, {}},
                         {"SP9ABC/MM", "20M", "CW", "009", true, 0, {}}}, // no country at sea
                        {8, 8, 4, 32}};
        QTest::newRow("SP DX Contest, foreign station")
            << Scenario{"spdx-dx",
                        "DL1ABC",
                        {{"SP9ABC", "20M", "CW", "K", true, 3, {"K"}},
                         {"SP5ABC", "20M", "PH", "12B", true, 3, {"B"}},
                         {"SP5XYZ", "20M", "CW", "B", true, 3, {}},
                         {"SP6ABC", "40M", "CW", "B", true, 3, {"B"}},
                         {"SP7ABC", "40M", "CW", "X", true, 3, {}}, // no province of the list
                         {"OK1ABC", "40M", "CW", "D", true, 0, {"D"}}},
                        {6, 15, 4, 60}};
    }

    void contactsScoreAsTheContestCounts() {
        QFETCH(Scenario, scenario);
        ContestStation own{scenario.ownCall, m_countries.find(scenario.ownCall)};
        QVERIFY(own.country);
        ContestScore score(shipped(scenario.contest), &m_countries, own, AnalysisContext());
        for (const Step& step : scenario.steps) {
            const Qso qso = TestQso().call(step.call).band(step.band).mode(step.mode).srx(step.srx).qso();
            const ContactScore before = score.evaluate(qso);
            const ContactScore logged = score.add(qso);
            const QByteArray where = QByteArray(step.call) + " on " + step.band + " " + step.mode;
            QVERIFY2(!logged.countsNothing() || !step.counted || step.points == 0, where);
            QCOMPARE_EQ(logged.inContest && !logged.dupe, step.counted);
            QVERIFY2(logged.points == step.points, where + " scored " + QByteArray::number(logged.points));
            QVERIFY2(logged.newMultipliers == step.newMultipliers,
                     where + " brought " + logged.newMultipliers.join(u',').toLatin1());
            // What the entry window shows while the call is typed is what logging it then counts.
            QCOMPARE(before.points, logged.points);
            QCOMPARE(before.newMultipliers, logged.newMultipliers);
            if (step.counted)
                QVERIFY(score.evaluate(qso).dupe);
        }
        const ScoreTotals totals = score.totals();
        QCOMPARE(totals.qsos, scenario.totals.qsos);
        QCOMPARE(totals.points, scenario.totals.points);
        QCOMPARE(totals.multipliers, scenario.totals.multipliers);
        QCOMPARE(totals.claimed, scenario.totals.claimed);
        QCOMPARE(score.scoreLine(), QStringLiteral("Wynik: %1 (punkty %2, mnożniki %3)")
                                        .arg(totals.claimed)
                                        .arg(totals.points)
                                        .arg(totals.multipliers));
        // The log read again from scratch scores the same.
        std::vector<QsoRecord> records;
        for (const Step& step : scenario.steps)
            records.push_back(TestQso().call(step.call).band(step.band).mode(step.mode).srx(step.srx).record());
        score.rebuild(records);
        QCOMPARE(score.totals().claimed, scenario.totals.claimed);
        QCOMPARE(score.contactScores().size(), records.size());
    }

    // The county and distance contests count what the exchange analysis credits: the counties of the county
    // list, and the kilometres of the ODX sum.
    void analysisContestsAgreeWithTheLogsFigures() {
        CountyList counties;
        counties.LoadCountyList(KVR_SOURCE_DIR "/data/powiaty.txt", AnalysisMode::County);
        LogContext context;
        context.analysis.options.enabled = true;
        context.analysis.options.mode = AnalysisMode::Locator;
        context.analysis.counties = &counties;
        context.analysis.ownLocator = QStringLiteral("KO02MD");
        context.analysis.currentBand = Band::fromName(u"2M");
        context.analysis.currentMode = Mode::cw();
        LogBook log;
        log.setPath(KVR_SOURCE_DIR "/tests/data/edi_locator_log.kvr");
        QVERIFY(LoadLog(log, context).complete());
        ContestScore distance(shipped(QStringLiteral("ukf-km")), nullptr, {}, context.analysis);
        distance.rebuild(log.records());
        // The kilometres the log shows after each line, each station once a band.
        qint64 kilometres = 0;
        QSet<QString> worked;
        for (const QsoRecord& record : log.records()) {
            const Qso qso = record.qso();
            if (!worked.contains(qso.call + qso.band.name()) && !qso.suffix.isEmpty())
                kilometres += qso.suffix.toInt();
            worked.insert(qso.call + qso.band.name());
        }
        QVERIFY(kilometres > 0);
        QCOMPARE(distance.totals().points, kilometres);
        QCOMPARE(distance.totals().claimed, kilometres);

        context.analysis.options.mode = AnalysisMode::County;
        const QStringList lines{
            TestQso().band("80M").call("SP9ABC").srx("012GW"), TestQso().band("80M").call("SP9DEF").srx("013GW"),
            TestQso().band("40M").call("SP9ABC").srx("014GW"), TestQso().band("80M").call("SP6XYZ").srx("044KD"),
            TestQso().band("80M").call("SP6QQQ").srx("044XX")};
        ContestScore countiesScore(shipped(QStringLiteral("powiaty")), nullptr, {}, context.analysis);
        countiesScore.rebuild(testRecords(lines));
        QCOMPARE(countiesScore.totals().qsos, 5);
        QCOMPARE(countiesScore.totals().multipliers, 2);
        QCOMPARE(countiesScore.totals().claimed, 10);
    }
};

QTEST_GUILESS_MAIN(TestContestScore)
#include "tst_contestscore.moc"
