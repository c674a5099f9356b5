#include "core/qsoline.h"
#include "entry/startupoptions.h"
#include "lifecyclefixture.h"
#include "log/analysishandlers.h"
#include "settings/inifile.h"
#include "settings/programsettings.h"
#include "settings/settingskeys.h"

#include <QSignalSpy>
#include <QTest>

class TestAnalysisHandlers : public QObject {
    Q_OBJECT

private:
    static QStringList mixedLog() {
        return {TestQso().time("10:00:00").band("80M").call("SP1AAA").stx("001").srx("BGP"),
                TestQso().time("10:01:00").band("40M").call("SP2BBB").stx("002").srx("BGW"),
                TestQso().time("10:02:00").band("80M").mode("PH").call("SP3CCC").stx("003").srx("BKD"),
                TestQso().time("10:03:00").band("2M").mode("FM").call("SP4DDD").stx("004").srx("JO91RU")};
    }

    // Two stations in the own locator JO91RU, credited the same-locator distance, and one farther away.
    static QStringList sameLocatorLog() {
        return {TestQso().time("10:00:00").band("2M").call("SP9AAA").srx("001JO91RU"),
                TestQso().time("10:01:00").band("2M").call("SP9BBB").srx("002JO91RU"),
                TestQso().time("10:02:00").band("2M").call("SP1CCC").srx("003JO93AA")};
    }

private slots:
    void sameLocatorDistanceChangesTheOdxSumAtOnce_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("kept");
        QTest::addColumn<bool>("reloaded");
        QTest::newRow("locator analysis") << true << int(AnalysisMode::Locator) << 4 << 4 << true;
        QTest::newRow("locator analysis, above the range") << true << int(AnalysisMode::Locator) << 9 << 5 << true;
        QTest::newRow("locator analysis, the same distance") << true << int(AnalysisMode::Locator) << 1 << 1 << false;
        QTest::newRow("analysis off") << false << int(AnalysisMode::Locator) << 4 << 4 << false;
        QTest::newRow("county analysis") << true << int(AnalysisMode::County) << 4 << 4 << false;
    }
    void sameLocatorDistanceChangesTheOdxSumAtOnce() {
        QFETCH(bool, enabled);
        QFETCH(int, mode);
        QFETCH(int, typed);
        QFETCH(int, kept);
        QFETCH(bool, reloaded);
        SessionFixture f(sameLocatorLog());
        f.session.operatorData.locator = QStringLiteral("JO91RU");
        f.session.analysis.enabled = enabled;
        f.session.analysis.mode = AnalysisMode(mode);
        f.session.LoadCountyList();
        f.session.reload();
        const qint64 before = f.session.log().odxTotal();
        QSignalSpy reloads(&f.session, &LogSession::logReloaded);

        const AnalysisHandlers::Effect effect = AnalysisHandlers::sameLocatorKmChanged(f.session, typed);

        QCOMPARE(f.session.analysis.sameLocatorKm, kept);
        QCOMPARE(effect.reloaded, reloaded);
        QCOMPARE(reloads.count(), reloaded ? 1 : 0);
        if (!reloaded) {
            QCOMPARE(f.session.log().odxTotal(), before);
            return;
        }
        // Both same-locator contacts now carry the new distance, in the total and in their lines.
        QCOMPARE(f.session.log().odxTotal(), before + 2 * (kept - 1));
        QCOMPARE(f.session.log().qso(0).suffix, QString::number(kept));
        QVERIFY(f.session.scoreSummary().endsWith(QStringLiteral("Suma ODX: ") +
                                                  QString::number(f.session.log().odxTotal()).rightJustified(7)));
    }

    void locatorModeWithoutOwnLocatorAndCancelledPromptSwitchesAnalysisOff() {
        SessionFixture f(mixedLog());
        f.session.analysis.enabled = true;

        const AnalysisHandlers::Effect effect = AnalysisHandlers::locatorModeChosen(f.session);

        QCOMPARE(f.dialogs.inputPrompts, QStringList{QStringLiteral("Własny lokator|Wprowadź lokator")});
        QCOMPARE(f.session.analysis.mode, AnalysisMode::Locator);
        QVERIFY(!f.session.analysis.enabled);
        QCOMPARE(effect.sentFixedPart.value_or(QStringLiteral("<none>")), QString());
        QCOMPARE(effect.sameLocatorEnabled, std::optional<bool>(true));
        QCOMPARE(effect.countiesWindowVisible, std::optional<bool>(false));
        QVERIFY(!IniFile(f.session.settingsPath()).hasKey(QStringLiteral("Operator"), QStringLiteral("Lokator")));
    }

    void invalidOwnLocatorIsAskedAgainUntilValid() {
        SessionFixture f(mixedLog());
        f.session.analysis.enabled = true;
        f.dialogs.inputAnswers = {QStringLiteral("jo91r"), QStringLiteral("xx"), QStringLiteral("jo91ru")};

        // A window already holds the settings: the locator the handler keeps must reach what it reads.
        QSignalSpy told(&f.session.settings(), &ProgramSettings::changed);
        const AnalysisHandlers::Effect effect = AnalysisHandlers::locatorModeChosen(f.session);

        QCOMPARE(f.session.settings().value(SettingsKeys::Operator::locator), QStringLiteral("JO91RU"));
        QCOMPARE(told.size(), 1);
        QCOMPARE(f.dialogs.inputPrompts, (QStringList{QStringLiteral("Własny lokator|Wprowadź lokator"),
                                                      QStringLiteral("Własny lokator|Wprowadź poprawny lokator"),
                                                      QStringLiteral("Własny lokator|Wprowadź poprawny lokator")}));
        QCOMPARE(f.dialogs.texts(), QStringList(2, QStringLiteral("Został wprowadzony niepoprawny lokator !!")));
        QCOMPARE(f.session.operatorData.locator, QStringLiteral("JO91RU"));
        QVERIFY(f.session.analysis.enabled);
        QVERIFY(effect.reloaded);
        QCOMPARE(effect.sentFixedPart.value_or(QString()), QStringLiteral("JO91RU"));
        QCOMPARE(
            IniFile(f.session.settingsPath()).readString(QStringLiteral("Operator"), QStringLiteral("Lokator"), {}),
            QStringLiteral("JO91RU"));
        // The own locator is credited the same-locator distance.
        QCOMPARE(f.session.log().odxTotal(), 1);
        QVERIFY(f.session.scoreSummary().endsWith(QStringLiteral("       Suma ODX:       1")));
    }

    void emptyAnswerAfterAnInvalidLocatorEndsTheHandler() {
        SessionFixture f(mixedLog());
        f.session.analysis.enabled = true;
        f.dialogs.inputAnswers = {QStringLiteral("abc"), QString()};

        const AnalysisHandlers::Effect effect = AnalysisHandlers::locatorModeChosen(f.session);

        QVERIFY(!f.session.analysis.enabled);
        QVERIFY(f.session.operatorData.locator.isEmpty());
        QVERIFY(!effect.sameLocatorEnabled);
        QVERIFY(!effect.sentFixedPart);
        QVERIFY(!effect.reloaded);
    }

    void switchingAnalysisOnInCountyModeReloadsAndShowsTheCounties() {
        SessionFixture f(mixedLog());
        QVERIFY(f.session.log().loggedCounties().empty());

        const AnalysisHandlers::Effect effect = AnalysisHandlers::analysisSwitched(f.session, true);

        QVERIFY(effect.reloaded);
        QCOMPARE(effect.countiesWindowVisible, std::optional<bool>(true));
        QCOMPARE(effect.sameLocatorEnabled, std::optional<bool>(false));
        QCOMPARE(f.session.log().loggedCountyList(), QStringList{QStringLiteral("BGP")});
        QVERIFY(!AnalysisHandlers::analysisSwitched(f.session, false).reloaded);
        QVERIFY(!f.session.analysis.enabled);
    }

    void countyModeChangeRebuildsTheList() {
        SessionFixture f(mixedLog());
        f.session.analysis.enabled = true;
        AnalysisHandlers::countyModeChosen(f.session, AnalysisMode::County);
        QVERIFY(f.session.counties().contains(QStringLiteral("GP")));
        // BGP ends in GP: the county mode counts it too.
        QCOMPARE(f.session.log().loggedCountyList(), QStringList{QStringLiteral("GP")});
    }

    void loggedCountiesFollowBandAndMode_data() {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("allModes");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("80M CW") << "80M"
                                << "CW" << false << QStringList{"BGP"};
        QTest::newRow("80M SSB") << "80M"
                                 << "SSB" << false << QStringList{"BKD"};
        QTest::newRow("80M any mode") << "80M"
                                      << "CW" << true << QStringList{"BGP", "BKD"};
        QTest::newRow("40M CW") << "40M"
                                << "CW" << false << QStringList{"BGW"};
        QTest::newRow("20M has none") << "20M"
                                      << "CW" << false << QStringList{};
    }
    void loggedCountiesFollowBandAndMode() {
        QFETCH(QString, band);
        QFETCH(QString, mode);
        QFETCH(bool, allModes);
        QFETCH(QStringList, expected);
        SessionFixture f(mixedLog());
        f.session.analysis.enabled = true;
        f.session.analysis.countiesAllModes = allModes;
        f.session.reload();
        QSignalSpy changed(&f.session, &LogSession::loggedCountiesChanged);
        f.session.setBand(band);
        f.session.setMode(mode);

        AnalysisHandlers::BandOrModeChanged(f.session);

        QCOMPARE(changed.count(), 1);
        QCOMPARE(f.session.log().loggedCountyList(), expected);
        QCOMPARE(f.session.loggedCountiesCaption(), QStringLiteral("[%1] Zalogowane powiaty").arg(expected.size()));
    }

    void vhfBandTurnsLocatorAnalysisOn() {
        SessionFixture f(mixedLog());
        f.session.operatorData.locator = QStringLiteral("KO02MD");
        f.session.setBand(QStringLiteral("2M"));

        const AnalysisHandlers::Effect effect = AnalysisHandlers::VhfBandChosen(f.session);

        QVERIFY(f.session.analysis.enabled);
        QCOMPARE(f.session.analysis.mode, AnalysisMode::Locator);
        QVERIFY(f.dialogs.inputPrompts.isEmpty());
        QCOMPARE(effect.sentFixedPart.value_or(QString()), QStringLiteral("KO02MD"));
        QVERIFY(f.session.log().odxTotal() > 100);
        QVERIFY(!AnalysisHandlers::VhfBandChosen(f.session).reloaded);
    }

    void settingsRoundTrip() {
        TempProgramFolder folder;
        AnalysisOptions options;
        options.enabled = true;
        options.mode = AnalysisMode::Locator;
        options.sameLocatorKm = 4;
        options.countiesAllModes = true;
        {
            IniFile settings(folder.file(QStringLiteral("kvr_log.ini")));
            AnalysisHandlers::writeSettings(settings, options);
        }
        const IniFile settings(folder.file(QStringLiteral("kvr_log.ini")));
        const AnalysisOptions back = StartupOptions::readAnalysis(settings, QStringLiteral("JO91RU"), {});
        QCOMPARE(back.enabled, true);
        QCOMPARE(back.mode, AnalysisMode::Locator);
        QCOMPARE(back.sameLocatorKm, 4);
        QCOMPARE(back.countiesAllModes, true);
        QCOMPARE(settings.readString(QStringLiteral("Analiza grupy"), QStringLiteral("Opcja"), {}),
                 QStringLiteral("Lokator"));
    }
};

QTEST_GUILESS_MAIN(TestAnalysisHandlers)
#include "tst_analysishandlers.moc"
