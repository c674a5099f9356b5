#include "dtawriter.h"
#include "lookup/callsuggestions.h"
#include "lookup/entryfieldhops.h"
#include "lookup/masterselection.h"
#include "lookuptestlog.h"

#include <QTest>

// Suggestions while a callsign is typed, and the Space and Ctrl+Space moves between the entry fields.
class TestSuggestions : public QObject {
    Q_OBJECT

private:
    static QStringList numberedCalls(const QString& stem, int count) {
        QStringList calls;
        for (int i = 0; i < count; ++i)
            calls.append(stem + QString::number(100 + i));
        return calls;
    }

    static WorkedCalls workedCalls(const QStringList& calls) {
        WorkedCalls worked;
        for (const QString& call : calls)
            worked.add(call, call + ";;");
        return worked;
    }

private slots:
    void databaseLimit_data() {
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("marker");
        QTest::newRow("44 hits all shown") << 44 << 44 << false;
        QTest::newRow("45 hits: 44 and the marker") << 45 << 44 << true;
        QTest::newRow("300 hits: 44 and the marker") << 300 << 44 << true;
    }
    void databaseLimit() {
        QFETCH(int, hits);
        QFETCH(int, shown);
        QFETCH(bool, marker);
        TempProgramFolder folder;
        QStringList list = numberedCalls("SP7A", hits);
        list.append("DL1ABC");
        QVERIFY(DtaWriter::write(folder.file("m.dta"), list));
        ScriptedDialogs dialogs;
        WorkedCalls calls;
        MasterSelection master;
        master.choose(folder.file("m.dta"), dialogs, calls);
        CallSuggestions suggestions;
        const auto update = suggestions.UpdateSuggestions("sp7", master, calls);
        QCOMPARE(update.change, CallSuggestions::Change::Replaced);
        QCOMPARE(update.entries.size(), shown + (marker ? 1 : 0));
        QCOMPARE(update.entries.last() == "....", marker);
        QStringList expected = list.mid(0, shown);
        expected.sort();
        QCOMPARE(update.entries.mid(0, shown), expected);
    }

    void textListLimitShowsFortyOne() {
        const WorkedCalls calls = workedCalls(numberedCalls("SP9X", 100));
        MasterSelection master;
        CallSuggestions suggestions;
        const auto update = suggestions.UpdateSuggestions("SP", master, calls);
        QCOMPARE(update.entries.size(), 42);
        QCOMPARE(update.entries.last(), QStringLiteral("...."));
        QCOMPARE(update.entries.first(), QStringLiteral("SP9X100"));
        QCOMPARE(update.entries.at(40), QStringLiteral("SP9X140"));
    }

    void textListMatchesInsideWithoutWildcards() {
        const WorkedCalls calls = workedCalls({"SP7ABC", "DL1ABC", "S?7ABC", "OK1XYZ"});
        MasterSelection master;
        CallSuggestions suggestions;
        QCOMPARE(suggestions.UpdateSuggestions("ABC", master, calls).entries,
                 (QStringList{"DL1ABC", "S?7ABC", "SP7ABC"}));
        QCOMPARE(suggestions.UpdateSuggestions("S?7", master, calls).entries, QStringList{"S?7ABC"});
    }

    void shortAndEmptyCallsigns() {
        const WorkedCalls calls = workedCalls({"SP7ABC"});
        MasterSelection master;
        CallSuggestions suggestions;
        QCOMPARE(suggestions.UpdateSuggestions("S", master, calls).change, CallSuggestions::Change::Kept);
        QCOMPARE(suggestions.UpdateSuggestions("", master, calls).change, CallSuggestions::Change::Cleared);
        QCOMPARE(suggestions.UpdateSuggestions("", master, calls, false).change, CallSuggestions::Change::Kept);
        // Nothing known at all: nothing to suggest from, the list stays.
        QCOMPARE(suggestions.UpdateSuggestions("SP", master, WorkedCalls{}).change, CallSuggestions::Change::Kept);
    }

    void dtaNotLoadedClearsTheList() {
        TempProgramFolder folder;
        const QString bad = folder.writeBytes("bad.dta", QByteArray(6000, '\x02'));
        ScriptedDialogs dialogs;
        WorkedCalls calls = workedCalls({"SP7ABC"});
        MasterSelection master;
        master.choose(bad, dialogs, calls);
        QVERIFY(master.isDta() && !master.isLoaded());
        CallSuggestions suggestions;
        const auto update = suggestions.UpdateSuggestions("SP7", master, calls);
        QCOMPARE(update.change, CallSuggestions::Change::Replaced);
        QVERIFY(update.entries.isEmpty());
    }

    void takenSuggestionKeepsListUntilLengthChanges() {
        const WorkedCalls calls = workedCalls({"SP7ABC", "SP7ABD", "SQ7AA"});
        MasterSelection master;
        CallSuggestions suggestions;
        EntryFieldHops hops;
        auto update = suggestions.UpdateSuggestions("SP7", master, calls);
        QCOMPARE(update.entries, (QStringList{"SP7ABC", "SP7ABD"}));
        const auto move = hops.ctrlSpace({"SP7", 3, "", 0}, update.entries.first(), true, suggestions, {}, calls);
        QCOMPARE(move.call, std::optional<QString>("SP7ABC"));
        QCOMPARE(suggestions.takenLength(), 6);
        // The callsign field now holds the taken entry: the list stays as it was.
        QCOMPARE(suggestions.UpdateSuggestions("SP7ABC", master, calls).change, CallSuggestions::Change::Kept);
        // One more character: recomputed.
        update = suggestions.UpdateSuggestions("SP7ABCD", master, calls);
        QCOMPARE(update.change, CallSuggestions::Change::Replaced);
        QVERIFY(update.entries.isEmpty());
    }

    void ctrlSpaceWithWindowOffStillRecomputes() {
        const WorkedCalls calls = workedCalls({"SP7ABC", "SP7ABD"});
        MasterSelection master;
        CallSuggestions suggestions;
        EntryFieldHops hops;
        hops.ctrlSpace({"SP7", 3, "", 0}, QStringLiteral("SP7ABC"), false, suggestions, {}, calls);
        QCOMPARE(suggestions.UpdateSuggestions("SP7ABC", master, calls).change, CallSuggestions::Change::Replaced);
    }

    void markerSortsAfterCallsigns() {
        QStringList entries{"....", "SP7B", "3Z0X", "SP7/P"};
        CallSuggestions::sortEntries(entries);
        QCOMPARE(entries, (QStringList{"3Z0X", "SP7/P", "SP7B", "...."}));
    }

    void dupeColourFollowsBandAndMode() {
        LookupTestLog log;
        log.load({{"20M", "CW", "SP7ABC"}});
        const auto book = [&log](const DupeKey& key) { return log.session.log().hasWorkedKey(key); };
        QCOMPARE(CallSuggestions::colourFor(u"SP7ABC", book, Band::fromName(u"20M"), Mode::fromName(u"CW"), false),
                 SuggestionColour::Dupe);
        QCOMPARE(CallSuggestions::colourFor(u"SP7ABC", book, Band::fromName(u"40M"), Mode::fromName(u"CW"), false),
                 SuggestionColour::Normal);
        QCOMPARE(CallSuggestions::colourFor(u"SP7ABC", book, Band::fromName(u"20M"), Mode::fromName(u"SSB"), false),
                 SuggestionColour::Normal);
        QCOMPARE(CallSuggestions::colourFor(u"SP7ABD", book, Band::fromName(u"20M"), Mode::fromName(u"CW"), false),
                 SuggestionColour::Normal);
    }

    void dupeColourUnderOneQsoPerBand() {
        LookupTestLog log;
        log.session.oneQsoPerBand = true;
        log.load({{"20M", "CW", "SP7ABC"}});
        QCOMPARE(CallSuggestions::colourFor(
                     u"SP7ABC", [&log](const DupeKey& key) { return log.session.log().hasWorkedKey(key); },
                     Band::fromName(u"20M"), Mode::fromName(u"SSB"), true),
                 SuggestionColour::Dupe);
    }

    void callsFromEarlierLogsStayKnown() {
        LookupTestLog log;
        log.load({{"20M", "CW", "SP7ABC"}});
        log.load({{"40M", "PH", "DL1XYZ"}});
        MasterSelection master;
        CallSuggestions suggestions;
        QCOMPARE(suggestions.UpdateSuggestions("P7A", master, log.session.log().workedCalls()).entries,
                 QStringList{"SP7ABC"});
    }

    void prefill_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("locatorAllowed");
        QTest::addColumn<QString>("expected");
        const int county = int(AnalysisMode::County);
        const int province = int(AnalysisMode::ProvinceCounty);
        const int locator = int(AnalysisMode::Locator);
        QTest::newRow("province and county: whole field") << province << true << ""
                                                          << "SP7ABC" << true << "SKR";
        QTest::newRow("county: characters 2-3") << county << true << ""
                                                << "SQ9XYZ" << true << "KR";
        QTest::newRow("locator mode") << locator << true << ""
                                      << "SQ9XYZ" << true << "JO90AA";
        QTest::newRow("locator mode not for a click") << locator << true << ""
                                                      << "SQ9XYZ" << false << "<none>";
        QTest::newRow("analysis off") << province << false << ""
                                      << "SP7ABC" << true << "<none>";
        QTest::newRow("exchange already typed") << province << true << "12"
                                                << "SP7ABC" << true << "<none>";
        QTest::newRow("unknown station") << province << true << ""
                                         << "DL1ABC" << true << "<none>";
    }
    void prefill() {
        QFETCH(int, mode);
        QFETCH(bool, enabled);
        QFETCH(QString, exchange);
        QFETCH(QString, call);
        QFETCH(bool, locatorAllowed);
        QFETCH(QString, expected);
        WorkedCalls calls;
        calls.add("SP7ABC", "SP7ABC;SKR;");
        calls.add("SQ9XYZ", "SQ9XYZ;_KR;JO90AA");
        AnalysisOptions analysis;
        analysis.enabled = enabled;
        analysis.mode = AnalysisMode(mode);
        const auto result = EntryFieldHops::exchangePrefill(call, exchange, analysis, calls, locatorAllowed);
        QCOMPARE(result.value_or("<none>"), expected);
    }

    // A blank from the callsign field: where the exchange cursor lands. "remembered" is the position the last
    // blank out of the exchange field left (-1: none since the last hop in).
    void hopToExchange_data() {
        QTest::addColumn<int>("mode"); // -1: analysis off
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<int>("remembered");
        QTest::addColumn<QString>("prefill");
        QTest::addColumn<int>("cursor");
        const int off = -1;
        const int province = int(AnalysisMode::ProvinceCounty);
        const int locator = int(AnalysisMode::Locator);
        QTest::newRow("nothing remembered: end of the exchange") << off << "SP7ABC"
                                                                 << "KRA" << -1 << "<none>" << 3;
        QTest::newRow("remembered position") << off << "SP7ABC"
                                             << "KRA" << 1 << "<none>" << 1;
        QTest::newRow("remembered beyond a shortened exchange") << off << "SP7ABC"
                                                                << "K" << 3 << "<none>" << 1;
        QTest::newRow("county pre-fill starts at its start") << province << "SP7ABC"
                                                             << "" << 2 << "SKR" << 0;
        QTest::newRow("locator pre-fill starts at its start") << locator << "SQ9XYZ"
                                                              << "" << -1 << "JO90AA" << 0;
        QTest::newRow("typed exchange is not replaced") << province << "SP7ABC"
                                                        << "12" << -1 << "<none>" << 2;
        QTest::newRow("unknown station, empty exchange") << province << "DL1ABC"
                                                         << "" << 4 << "<none>" << 0;
    }
    void hopToExchange() {
        QFETCH(int, mode);
        QFETCH(QString, call);
        QFETCH(QString, exchange);
        QFETCH(int, remembered);
        QFETCH(QString, prefill);
        QFETCH(int, cursor);
        WorkedCalls calls;
        calls.add("SP7ABC", "SP7ABC;SKR;");
        calls.add("SQ9XYZ", "SQ9XYZ;_KR;JO90AA");
        AnalysisOptions analysis;
        analysis.enabled = mode >= 0;
        analysis.mode = AnalysisMode(std::max(mode, 0));
        EntryFieldHops hops;
        if (remembered >= 0)
            hops.spaceInExchange({call, 0, "KRAKOW", remembered}, nullptr);
        const auto move = hops.spaceInCall({call, 2, exchange, 0}, analysis, calls);
        QCOMPARE(move.exchange.value_or("<none>"), prefill);
        QCOMPARE(move.cursor, cursor);
        // The callsign position is kept for the way back, whatever the exchange got.
        QCOMPARE(hops.callCursor(), std::optional<int>(2));
        QVERIFY(!hops.exchangeCursor());
    }

    // Each remembered position serves the next hop into its field once; a logged contact forgets both.
    void positionsServeOneHopEach() {
        WorkedCalls calls;
        CallSuggestions suggestions;
        EntryFieldHops hops;
        QCOMPARE(hops.spaceInCall({"SP7ABC", 3, "KRA", 0}, {}, calls).cursor, 3);
        QCOMPARE(hops.spaceInExchange({"SP7ABC", 6, "KRA", 2}, &suggestions).cursor, 3);
        QVERIFY(!suggestions.refreshFlag());
        QCOMPARE(hops.spaceInCall({"SP7ABC", 5, "KRA", 0}, {}, calls).cursor, 2);
        // Into the callsign field with its position used up: the end of the text.
        QCOMPARE(hops.spaceInExchange({"SP7ABC", 0, "KRA", 1}, nullptr).cursor, 5);
        QCOMPARE(hops.spaceInExchange({"SP7ABC", 0, "KRA", 1}, nullptr).cursor, 6);
        // A remembered position beyond a shortened field is kept inside it.
        hops.spaceInCall({"SP7ABC", 5, "KRA", 0}, {}, calls);
        QCOMPARE(hops.spaceInExchange({"SP", 0, "KRA", 1}, nullptr).cursor, 2);
        hops.spaceInCall({"SP7ABC", 4, "KRA", 0}, {}, calls);
        hops.forgetPositions();
        QVERIFY(!hops.callCursor() && !hops.exchangeCursor());
        QCOMPARE(hops.spaceInExchange({"SP7ABC", 0, "KRA", 1}, nullptr).cursor, 6);
    }

    void ctrlSpacePrefillsFromTheTakenCall() {
        WorkedCalls calls;
        calls.add("SP7ABC", "SP7ABC;SKR;");
        AnalysisOptions analysis;
        analysis.enabled = true;
        CallSuggestions suggestions;
        EntryFieldHops hops;
        const auto move =
            hops.ctrlSpace({"P7A", 3, "", 0}, QStringLiteral("SP7ABC"), true, suggestions, analysis, calls);
        QCOMPARE(move.call, std::optional<QString>("SP7ABC"));
        QCOMPARE(move.exchange, std::optional<QString>("SKR"));
        QCOMPARE(move.cursor, 0);
        // The way back lands after the taken call.
        QCOMPARE(hops.callCursor(), std::optional<int>(6));
    }

    void ctrlSpaceWithEmptyListActsAsSpace() {
        WorkedCalls calls;
        CallSuggestions suggestions;
        suggestions.setTakenLength(4);
        EntryFieldHops hops;
        const auto move = hops.ctrlSpace({"SP7", 1, "", 0}, std::nullopt, true, suggestions, {}, calls);
        QVERIFY(!move.call);
        QCOMPARE(move.cursor, 0);
        QCOMPARE(suggestions.takenLength(), 4);
        QCOMPARE(hops.callCursor(), std::optional<int>(1));
    }

    void clickOnSuggestion_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<QString>("prefill");
        QTest::addColumn<bool>("staysInList");
        QTest::newRow("known station in county mode") << true << int(AnalysisMode::ProvinceCounty) << "SP7ABC"
                                                      << ""
                                                      << "SKR" << false;
        QTest::newRow("unknown station in county mode") << true << int(AnalysisMode::County) << "DL1ABC"
                                                        << ""
                                                        << "<none>" << true;
        QTest::newRow("locator mode") << true << int(AnalysisMode::Locator) << "SP7ABC"
                                      << ""
                                      << "<none>" << false;
        QTest::newRow("analysis off") << false << int(AnalysisMode::County) << "DL1ABC"
                                      << ""
                                      << "<none>" << false;
        QTest::newRow("exchange typed") << true << int(AnalysisMode::County) << "DL1ABC"
                                        << "1"
                                        << "<none>" << false;
    }
    void clickOnSuggestion() {
        QFETCH(bool, enabled);
        QFETCH(int, mode);
        QFETCH(QString, call);
        QFETCH(QString, exchange);
        QFETCH(QString, prefill);
        QFETCH(bool, staysInList);
        WorkedCalls calls;
        calls.add("SP7ABC", "SP7ABC;SKR;JO90AA");
        AnalysisOptions analysis;
        analysis.enabled = enabled;
        analysis.mode = AnalysisMode(mode);
        const auto click = EntryFieldHops::suggestionChosen(call, exchange, analysis, calls);
        QCOMPARE(click.exchange.value_or("<none>"), prefill);
        QCOMPARE(click.focus == EntryFieldHops::ClickFocus::SuggestionList, staysInList);
    }
};

QTEST_GUILESS_MAIN(TestSuggestions)
#include "tst_lookup_suggestions.moc"
