#include "analysis/countylist.h"
#include "analysis/exchangeanalysis.h"
#include "analysis/scoresummary.h"
#include "log/logbook.h"
#include "log/loggedcounties.h"
#include "testqso.h"
#include "testsupport.h"

#include <QTest>

namespace {

const TestQso kContact = TestQso().time("10:00:00");

QsoAnalysis analyse(const TestQso& contact, bool dupe, const AnalysisContext& context) {
    const Qso qso = contact.qso();
    return AnalyseQso(qso.srx, qso.band, qso.mode, dupe, context);
}

} // namespace

class TestAnalysis : public QObject {
    Q_OBJECT

private slots:
    void countyListTakesTheFormOfTheMode() {
        TempProgramFolder folder(false);
        const QString path = folder.writeLines(QStringLiteral("powiaty.txt"),
                                               {QStringLiteral("IC S Ostrowiec"), QString(), QStringLiteral("GW B")});
        CountyList counties;
        counties.LoadCountyList(path, AnalysisMode::County);
        QCOMPARE(counties.entries(), (QStringList{QStringLiteral("GW"), QStringLiteral("IC")}));
        QVERIFY(counties.contains(u"ic"));
        QVERIFY(!counties.contains(u""));
        counties.LoadCountyList(path, AnalysisMode::ProvinceCounty);
        QCOMPARE(counties.entries(), (QStringList{QStringLiteral("BGW"), QStringLiteral("SIC")}));
        QVERIFY(!counties.contains(u"IC"));
    }

    void analysisKeyTakesTheTail() {
        QCOMPARE(analysisKey(u"  001IC ", 2), QStringLiteral("IC"));
        QCOMPARE(analysisKey(u"C", 3), QStringLiteral("C"));
        QCOMPARE(analysisKey(u"12345KO02MD", 6), QStringLiteral("KO02MD"));
    }

    void countyAnalysis_data() {
        QTest::addColumn<QString>("srx");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("bare county") << "IC"
                                     << " IC";
        QTest::newRow("serial in front") << "123IC"
                                         << " IC";
        QTest::newRow("lower case") << "5ic"
                                    << " IC";
        QTest::newRow("unknown county") << "5XY"
                                        << "";
        QTest::newRow("empty exchange") << ""
                                        << "";
    }
    void countyAnalysis() {
        QFETCH(QString, srx);
        QFETCH(QString, suffix);
        CountyList counties;
        counties.setEntries({QStringLiteral("IC")});
        AnalysisContext context{
            {true, AnalysisMode::County, 1, false}, &counties, {}, Band::fromName(u"80M"), Mode::fromName(u"CW")};
        const QsoAnalysis result = analyse(kContact.band("80M").srx(srx), false, context);
        QCOMPARE(result.suffix, suffix);
        QCOMPARE(result.logCounty, !suffix.isEmpty());
        QVERIFY(analyse(kContact.band("80M").srx(srx), true, context).suffix.isEmpty());
    }

    void loggedCountiesFollowBandAndMode() {
        CountyList counties;
        counties.setEntries({QStringLiteral("IC"), QStringLiteral("GW")});
        LogBook log;
        for (const TestQso& qso : {kContact.band("80M").srx("IC"), kContact.band("80M").mode("PH").srx("GW"),
                                   kContact.band("40M").srx("GW").suffix("DUPE")})
            log.add(PreparedQso{qso.record(), {}, false, {}}, LogBook::Placement::Sorted);
        AnalysisContext context{
            {true, AnalysisMode::County, 1, false}, &counties, {}, Band::fromName(u"80M"), Mode::fromName(u"CW")};
        RebuildLoggedCounties(log, context);
        QCOMPARE(log.loggedCountyList(), QStringList{QStringLiteral("IC")});
        context.currentMode = Mode::fromName(u"SSB");
        RebuildLoggedCounties(log, context);
        QCOMPARE(log.loggedCountyList(), QStringList{QStringLiteral("GW")});
        context.options.countiesAllModes = true;
        RebuildLoggedCounties(log, context);
        QCOMPARE(log.loggedCountyList().size(), 2);
        context.currentBand = Band::fromName(u"40M");
        RebuildLoggedCounties(log, context);
        QVERIFY(log.loggedCountyList().isEmpty());
        // Locator mode keeps no county list: nothing is rebuilt.
        log.setLoggedCounties({QStringLiteral("IC")});
        context.options.mode = AnalysisMode::Locator;
        RebuildLoggedCounties(log, context);
        QCOMPARE(log.loggedCountyList().size(), 1);
    }

    void locatorAnalysisWithoutAUsableOwnLocatorCreditsNothing() {
        AnalysisContext context{{true, AnalysisMode::Locator, 1, false},
                                nullptr,
                                QStringLiteral("JO9"),
                                Band::fromName(u"2M"),
                                Mode::fromName(u"CW")};
        const QsoAnalysis result = analyse(kContact.band("2M").srx("KO02AA"), false, context);
        QVERIFY(!result.distanceKm);
        QVERIFY(result.suffix.isEmpty());
        QCOMPARE(result.infoLocator, QStringLiteral("KO02AA"));
    }

    void summaryOfAnEmptyLog() {
        QCOMPARE(BuildScoreSummary(QStringLiteral("/a/log.kvr"), {}),
                 QStringLiteral("Log /a/log.kvr          QSO:      0       CW:    0       SSB:    0"));
    }

    void summaryInLocatorMode() {
        ScoreFigures figures{1234, 800, 434, 98765, true};
        QCOMPARE(
            BuildScoreSummary(QStringLiteral("/l.kvr"), figures),
            QStringLiteral("Log /l.kvr          QSO:   1234       CW:  800       SSB:  434       Suma ODX:   98765"));
        figures.cwCount = 123456;
        QVERIFY(BuildScoreSummary(QStringLiteral("/l.kvr"), figures).contains(QStringLiteral("CW: 3456")));
    }

    void shortPathsStayAsTheyAre() {
        QCOMPARE(ShortenPath(QStringLiteral("/home/op/log.kvr"), 60, QLatin1Char('/')),
                 QStringLiteral("/home/op/log.kvr"));
        const QString twoSeparators =
            QStringLiteral("C:\\") + QString(70, QLatin1Char('x')) + QStringLiteral("\\l.kvr");
        QCOMPARE(ShortenPath(twoSeparators, 60, QLatin1Char('\\')), twoSeparators);
    }

    void longPathsLoseMiddleFolders() {
        const QString path = QStringLiteral("C:\\Dokumenty\\Krotkofalarstwo\\Zawody2024\\SP_DX_Contest\\Logi\\"
                                            "Operator_SP9ABC\\log.kvr");
        QCOMPARE(path.size(), 82);
        const QString shortened = ShortenPath(path, 60, QLatin1Char('\\'));
        QCOMPARE(shortened, QStringLiteral("C:\\Dokumenty\\Krotkofalarstwo\\...\\Operator_SP9ABC\\log.kvr"));
        QVERIFY(shortened.size() <= 60);
        QCOMPARE(ShortenPath(QStringLiteral("/a/") + QString(80, QLatin1Char('b')) + QStringLiteral("/c/d"), 60,
                             QLatin1Char('/'))
                     .count(QStringLiteral("...")),
                 1);
    }

    void countiesCaption() { QCOMPARE(loggedCountiesCaption(0), QStringLiteral("[0] Zalogowane powiaty")); }
};

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
