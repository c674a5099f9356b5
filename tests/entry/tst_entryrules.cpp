#include "core/bands.h"
#include "core/modes.h"
#include "entry/entryclock.h"
#include "entry/entryindex.h"
#include "entry/entryoptions.h"
#include "entry/outsidecontact.h"
#include "entry/workedbefore.h"
#include "log/logbook.h"
#include "log/logloader.h"
#include "lookup/entryfieldhops.h"
#include "settings/inifile.h"
#include "settings/settingskeys.h"
#include "testqso.h"
#include "testsupport.h"

#include <QFile>
#include <QTest>
#include <QTimeZone>

namespace {

// A log loaded from lines, as the loader builds it.
LogBook loadedLog(const TempProgramFolder& folder, const QStringList& lines, bool oneQso = false) {
    LogBook log;
    log.setPath(folder.writeLines(QStringLiteral("log.kvr"), lines));
    LogContext context;
    context.oneQsoPerBand = oneQso;
    LoadLog(log, context);
    return log;
}

// The contacts of these logs: 14 March 2026, serial 1.
const TestQso kContact = TestQso().date("2026-03-14").stx("1");

const QStringList kLog = {
    kContact.time("08:00:00").call("SP9ABC").srx("123SIC"),
    kContact.time("08:01:00").call("SP6XYZ").srx("044KD"),
    kContact.time("08:02:00").band("40M").mode("PH").rst("59").call("SP9ABC").srx("007AQ"),
    kContact.time("08:03:00").mode("RY").call("DL1AA").srx("5"),
    kContact.time("08:04:00").mode("PH").rst("59").call("SP6XYZ").srx("045KD"),
};

} // namespace

class TestEntryRules : public QObject {
    Q_OBJECT
private slots:
    void serialPadding_data() {
        QTest::addColumn<QString>("serial");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("padded");
        QTest::newRow("1 in format 1") << "1" << 0 << "1";
        QTest::newRow("1 in format 01") << "1" << 1 << "01";
        QTest::newRow("1 in format 001") << "1" << 2 << "001";
        QTest::newRow("12 in format 001") << "12" << 2 << "012";
        QTest::newRow("longer than the format is kept") << "1234" << 1 << "1234";
    }
    void serialPadding() {
        QFETCH(QString, serial);
        QFETCH(int, format);
        QFETCH(QString, padded);
        QCOMPARE(SerialNumber::pad(serial, SerialNumber::formatFromIndex(format)), padded);
    }

    // A program killed between storing a contact and saving the next serial must not give that serial again.
    void savedSerialCatchesUpWithTheLog_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("loggedStx");
        QTest::addColumn<bool>("separateVhf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("saved serial already given") << "017"
                                                    << "40M"
                                                    << "017" << false << "018";
        QTest::newRow("saved serial behind by more") << "3"
                                                     << "40M"
                                                     << "017" << false << "018";
        QTest::newRow("saved serial ahead is the operator's") << "030"
                                                              << "40M"
                                                              << "017" << false << "030";
        QTest::newRow("serial with the own locator") << "005"
                                                     << "2M"
                                                     << "005 KO02MD" << false << "006";
        QTest::newRow("VHF counted per band already") << "005"
                                                      << "2M"
                                                      << "005 KO02MD" << true << "005";
        QTest::newRow("separate VHF serials leave HF lines to this") << "005"
                                                                     << "20M"
                                                                     << "005" << true << "006";
        QTest::newRow("fixed exchange in the field") << "SP"
                                                     << "40M"
                                                     << "017" << false << "SP";
        QTest::newRow("fixed exchange in the log") << "017"
                                                   << "40M"
                                                   << "GW" << false << "017";
    }
    void savedSerialCatchesUpWithTheLog() {
        QFETCH(QString, stored);
        QFETCH(QString, band);
        QFETCH(QString, loggedStx);
        QFETCH(bool, separateVhf);
        QFETCH(QString, expected);
        const Qso newest = TestQso().band(band).stx(loggedStx).call("SP1AA").srx("1").qso();
        QCOMPARE(SerialNumber::catchUpWithLog(stored, newest, separateVhf, SerialFormat::Three), expected);
        QCOMPARE(SerialNumber::catchUpWithLog(stored, std::nullopt, separateVhf, SerialFormat::Three), stored);
    }

    // A contact from the command line ends up as the entry window's fields would hold it.
    void outsideContactIsHeldToTheFieldRules() {
        const EntryForm form = OutsideContact::normalised(
            {"sp 9abc/p", "012 gw", "5nnx", "59", "001a", "ko02md abcdefgh", QString(), QString(), std::nullopt});
        const QStringList fields{form.call, form.srx, form.rstSent, form.rstRcvd, form.stx, form.stxFixed};
        QCOMPARE(fields, (QStringList{"SP9ABC/P", "012GW", "5NN", "59", "001A", "KO02MDABCDE"}));
    }

    // The next serial is on the disk before the contact; a contact that was not stored gives it back, leaving the
    // settings file as it was, or absent as it was.
    void serialReservationIsTakenBackWhenTheContactIsNotStored_data() {
        QTest::addColumn<QByteArray>("before"); // empty: no settings file
        QTest::newRow("settings file") << QByteArray("[Program]\r\nSTX=007\r\nPasmo=40M\r\n");
        QTest::newRow("no settings file") << QByteArray();
    }
    void serialReservationIsTakenBackWhenTheContactIsNotStored() {
        QFETCH(QByteArray, before);
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("kvr_log.ini"));
        if (!before.isEmpty())
            folder.writeBytes(QStringLiteral("kvr_log.ini"), before);
        IniFile settings(path);
        TextFile::Status status;
        QVERIFY(!SerialReservation::reserve(settings, QStringLiteral("5NN"), SerialFormat::Three, status));
        QVERIFY(status);
        QCOMPARE(fileBytes(path), before);
        const std::optional<SerialReservation> reserved =
            SerialReservation::reserve(settings, QStringLiteral("007"), SerialFormat::Three, status);
        QVERIFY(reserved && status);
        QCOMPARE(IniFile(path).value(SettingsKeys::Program::stx), QStringLiteral("008"));
        reserved->release();
        QCOMPARE(QFile::exists(path), !before.isEmpty());
        QCOMPARE(fileBytes(path), before);
    }

    void dupeSelectsTheEarlierContactOnThisBandAndMode() {
        TempProgramFolder folder;
        const LogBook log = loadedLog(folder, kLog);
        EntryIndex index;
        WorkedBeforeResult r =
            checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"CW"), u"SP9ABC", false);
        QVERIFY(r.dupe);
        QCOMPARE(r.panelText, QStringLiteral("SP9ABC - QSO zaliczone!"));
        QCOMPARE(r.row, 0);
        // Another mode: not a dupe, the last line is selected.
        r = checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"SSB"), u"SP9ABC", false);
        QVERIFY(!r.dupe);
        QCOMPARE(r.row, 4);
        r = checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"SSB"), u"SP6XYZ", false);
        QCOMPARE(r.row, 4);
        QVERIFY(r.dupe);
        r = checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"RTTY"), u"DL1AA", false);
        QVERIFY(r.dupe);
        QCOMPARE(r.row, 3);
        // A prefix of a logged callsign is not that station.
        QVERIFY(!checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"CW"), u"SP9AB", false).dupe);
        QVERIFY(!checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"CW"), u"", false).dupe);
    }

    void oneQsoPerBandIgnoresTheMode() {
        TempProgramFolder folder;
        const LogBook log = loadedLog(folder, kLog, true);
        EntryIndex index;
        const WorkedBeforeResult r =
            checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"SSB"), u"SP9ABC", true);
        QVERIFY(r.dupe);
        QCOMPARE(r.row, 0);
        QVERIFY(!checkWorkedBefore(log, index, Band::fromName(u"80M"), Mode::fromName(u"SSB"), u"SP9ABC", true).dupe);
        // The first line of the station anywhere in the log is the one selected.
        QCOMPARE(checkWorkedBefore(log, index, Band::fromName(u"40M"), Mode::fromName(u"CW"), u"SP9ABC", true).row, 0);
    }

    void indexFollowsAReloadedLog() {
        TempProgramFolder folder;
        LogBook log = loadedLog(folder, kLog);
        EntryIndex index;
        QCOMPARE(checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"CW"), u"SP6XYZ", false).row, 1);
        // An earlier contact arrives through a reload (an import or an edit).
        QStringList more = kLog;
        more.prepend(kContact.time("07:00:00").call("SP6XYZ").srx("1"));
        log = loadedLog(folder, more);
        QCOMPARE(checkWorkedBefore(log, index, Band::fromName(u"20M"), Mode::fromName(u"CW"), u"SP6XYZ", false).row, 0);
    }

    void crossModePanelShowsTheOtherModesExchange() {
        TempProgramFolder folder;
        const LogBook log = loadedLog(folder, kLog);
        EntryIndex index;
        QCOMPARE(crossModeExchange(log, index, Band::fromName(u"20M"), Mode::fromName(u"SSB"), u"SP6XYZ", false),
                 QStringLiteral(" CW:  044KD"));
        QCOMPARE(crossModeExchange(log, index, Band::fromName(u"20M"), Mode::fromName(u"CW"), u"SP6XYZ", false),
                 QStringLiteral(" PH:  045KD"));
        QCOMPARE(crossModeExchange(log, index, Band::fromName(u"40M"), Mode::fromName(u"SSB"), u"SP9ABC", false),
                 std::nullopt);
        QCOMPARE(crossModeExchange(log, index, Band::fromName(u"20M"), Mode::fromName(u"CW"), u"NOBODY", false),
                 std::nullopt);
    }

    void suggestionsFollowTheTypedText() {
        TempProgramFolder folder;
        QStringList lines = kLog;
        lines << kContact.time("08:05:00").call("SP9ABD").srx("1") << kContact.time("08:06:00").call("SP9ABC").srx("1");
        const LogBook log = loadedLog(folder, lines);
        EntryIndex index;
        QCOMPARE(index.suggestions(log, Band::fromName(u"20M"), Mode::fromCode(u"CW"), u"SP"),
                 (QStringList{QStringLiteral("SP6XYZ"), QStringLiteral("SP9ABC"), QStringLiteral("SP9ABD")}));
        QCOMPARE(index.suggestions(log, Band::fromName(u"20M"), Mode::fromCode(u"CW"), u"SP9"),
                 (QStringList{QStringLiteral("SP9ABC"), QStringLiteral("SP9ABD")}));
        QCOMPARE(index.suggestions(log, Band::fromName(u"20M"), Mode::fromCode(u"CW"), u"ABD"),
                 QStringList{QStringLiteral("SP9ABD")});
        QCOMPARE(index.suggestions(log, Band::fromName(u"20M"), Mode::fromCode(u"PH"), u"XY"),
                 QStringList{QStringLiteral("SP6XYZ")});
        QCOMPARE(index.suggestions(log, Band::fromName(u"40M"), Mode::fromCode(u"CW"), u"SP"), QStringList());
    }

    void commandsTypedIntoTheCallsignField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::newRow("band") << "20M" << int(EntryCommand::Band);
        QTest::newRow("WARC band outside the list") << "30M" << int(EntryCommand::None);
        QTest::newRow("mode") << "SSB" << int(EntryCommand::Mode);
        QTest::newRow("four digits") << "1430" << int(EntryCommand::Time);
        QTest::newRow("impossible time is still a command") << "2530" << int(EntryCommand::Time);
        QTest::newRow("date") << "2026-03-15" << int(EntryCommand::Date);
        QTest::newRow("callsign") << "SP9ABC" << int(EntryCommand::None);
        QTest::newRow("five digits") << "12345" << int(EntryCommand::None);
    }
    void commandsTypedIntoTheCallsignField() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QCOMPARE(int(classifyCommand(text, Bands::selectorList(false), Modes::selectorList(false))), kind);
    }

    void bandAndModeLists() {
        SelectorList bands = bandSelector(true, QStringLiteral("30M"));
        QCOMPARE(bands.items.size(), 13);
        QCOMPARE(bands.selected, QStringLiteral("30M"));
        bands = bandSelector(false, QStringLiteral("30M"));
        QCOMPARE(bands.items.size(), 10);
        QCOMPARE(bands.selected, QStringLiteral("160M"));
        SelectorList modes = modeSelector(true, QStringLiteral("CW"));
        QCOMPARE(modes.items, (QStringList{"SSB", "CW", "FM", "RTTY", "PSK31", "HELL"}));
        modes = modeSelector(false, QStringLiteral("PSK31"));
        QCOMPARE(modes.items.size(), 3);
        QCOMPARE(modes.selected, QStringLiteral("SSB"));
        QCOMPARE(stepInList(bands.items, QStringLiteral("23CM"), 1), QStringLiteral("160M"));
        QCOMPARE(stepInList(bands.items, QStringLiteral("160M"), -1), QStringLiteral("23CM"));
    }

    void serialOnBandSwitch() {
        LogBook log;
        log.setNextVhfSerial(1, 6);
        QCOMPARE(
            serialAfterBandSwitch(log, Band::fromName(u"2M"), QStringLiteral("12"), true, true, SerialFormat::Three),
            QStringLiteral("006"));
        QCOMPARE(
            serialAfterBandSwitch(log, Band::fromName(u"20M"), QStringLiteral("006"), true, true, SerialFormat::Three),
            QStringLiteral("006"));
        QCOMPARE(
            serialAfterBandSwitch(log, Band::fromName(u"2M"), QStringLiteral("12"), false, true, SerialFormat::Three),
            QStringLiteral("12"));
        QCOMPARE(
            serialAfterBandSwitch(log, Band::fromName(u"2M"), QStringLiteral("SP"), true, false, SerialFormat::Three),
            QStringLiteral("SP"));
    }

    // What a blank in the callsign field pre-fills from the log's call info.
    void prefillFromTheCallInfo() {
        LogBook log;
        log.workedCalls().add(QStringLiteral("SP9ABC"), QStringLiteral("SP9ABC;_GW;"));
        log.workedCalls().add(QStringLiteral("OK1AB"), QStringLiteral("OK1AB;;JO70AA"));
        AnalysisOptions analysis;
        analysis.enabled = true;
        analysis.mode = AnalysisMode::County;
        const auto prefill = [&](const QString& call) {
            return EntryFieldHops().spaceInCall({call, 0, QString(), 0}, analysis, log.workedCalls()).exchange;
        };
        QCOMPARE(prefill(QStringLiteral("SP9ABC")), QStringLiteral("GW"));
        analysis.mode = AnalysisMode::Locator;
        QCOMPARE(prefill(QStringLiteral("OK1AB")), QStringLiteral("JO70AA"));
        QCOMPARE(prefill(QStringLiteral("DL1AA")), std::nullopt);
        analysis.enabled = false;
        QCOMPARE(prefill(QStringLiteral("OK1AB")), std::nullopt);
    }

    void azimuthLabelWhileTypingALocator() {
        QCOMPARE(azimuthLabel(QStringLiteral("JO90LN"), u"JO90LN"), QStringLiteral("Azymut: ???"));
        QCOMPARE(azimuthLabel(QStringLiteral("JO90LN"), u"JO9"), std::nullopt);
        const auto label = azimuthLabel(QStringLiteral("JO90LN"), u"12345KO02MD");
        QVERIFY(label && label->startsWith(QStringLiteral("Azymut:  ")) && label->endsWith(QStringLiteral("°")));
    }

    void utcOffset() {
        // Central European summer time is two hours ahead of UTC.
        const QDateTime cest(QDate(2026, 7, 1), QTime(12, 0), QTimeZone("Europe/Warsaw"));
        QCOMPARE(EntryClock::ComputeUtcOffset(false, 0, cest), 2);
        const QDateTime india(QDate(2026, 7, 1), QTime(12, 0), QTimeZone("Asia/Kolkata"));
        QCOMPARE(EntryClock::ComputeUtcOffset(false, 0, india), 5);
        const QDateTime newfoundland(QDate(2026, 1, 1), QTime(12, 0), QTimeZone("America/St_Johns"));
        QCOMPARE(EntryClock::ComputeUtcOffset(false, 0, newfoundland), -3);
        QCOMPARE(EntryClock::ComputeUtcOffset(true, -3, cest), -3);
        const QDateTime utc = EntryClock::utcFromLocal(QDateTime(QDate(2026, 3, 14), QTime(22, 30)), -3);
        QCOMPARE(EntryClock::formatTime(utc.time()), QStringLiteral("01:30:00"));
        QCOMPARE(EntryClock::formatDate(utc.date()), QStringLiteral("2026-03-15"));
    }

    void manualTimeCheck_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("valid") << "12:05:00" << true;
        QTest::newRow("last second of the day") << "23:59:59" << true;
        QTest::newRow("hour 24") << "24:00:00" << false;
        QTest::newRow("one-digit minute") << "12:5:00" << false;
        QTest::newRow("minute 60") << "12:60:00" << false;
        QTest::newRow("dots") << "12.05.00" << false;
        QTest::newRow("empty") << "" << false;
    }
    void manualTimeCheck() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(EntryClock::validManualTime(text), valid);
    }

    void minuteSteps() {
        using EntryClock::ManualTime;
        ManualTime t = EntryClock::stepMinute({QDate(2026, 3, 14), QStringLiteral("23:59:30")}, 1);
        QCOMPARE(t.time, QStringLiteral("00:00:00"));
        QCOMPARE(t.date, QDate(2026, 3, 15));
        t = EntryClock::stepMinute({QDate(2026, 3, 15), QStringLiteral("00:00:10")}, -1);
        QCOMPARE(t.time, QStringLiteral("23:59:00"));
        QCOMPARE(t.date, QDate(2026, 3, 14));
    }

    void timeAndDateCommands() {
        QCOMPARE(EntryClock::timeCommand(u"1430").time, QStringLiteral("14:30:00"));
        QVERIFY(EntryClock::timeCommand(u"2530").isFourDigits);
        QCOMPARE(EntryClock::timeCommand(u"2530").time, std::nullopt);
        QCOMPARE(EntryClock::timeCommand(u"1260").time, std::nullopt);
        QCOMPARE(EntryClock::dateCommand(u"2026-03-15"), QDate(2026, 3, 15));
        QCOMPARE(EntryClock::dateCommand(u"2026-13-15"), std::nullopt);
        QCOMPARE(EntryClock::dateFieldError(u"2026-3-15"), QStringLiteral("Błędny format daty!"));
        QCOMPARE(EntryClock::dateFieldError(u"2026-03-1x"), QStringLiteral("Niewłaściwe dane w polu daty!"));
        QCOMPARE(EntryClock::dateFieldError(u"2026-03-15 "), std::nullopt);
    }

    void optionsSurviveTheSettingsFile() {
        TempProgramFolder folder;
        IniFile ini(folder.file(QStringLiteral("kvr_log.ini")));
        EntryOptions o;
        o.autoIncrement = false;
        o.stx = QStringLiteral("017");
        o.stxFixed = QStringLiteral("KO02MD");
        o.withoutExchange = true;
        o.oneQsoPerBand = true;
        o.warcBands = true;
        o.digitalModes = true;
        o.band = QStringLiteral("30M");
        o.mode = QStringLiteral("PSK31");
        o.separateVhfSerials = true;
        o.manualUtc = true;
        o.utcOffsetHours = -3;
        o.write(ini);
        const IniFile again(folder.file(QStringLiteral("kvr_log.ini")));
        const EntryOptions r = EntryOptions::read(again);
        QCOMPARE(r.autoIncrement, false);
        QCOMPARE(r.stx, o.stx);
        QCOMPARE(r.stxFixed, o.stxFixed);
        QCOMPARE(r.withoutExchange, true);
        QCOMPARE(r.oneQsoPerBand, true);
        QCOMPARE(r.band, QStringLiteral("30M"));
        QCOMPARE(r.mode, QStringLiteral("PSK31"));
        QCOMPARE(r.separateVhfSerials, true);
        QCOMPARE(r.manualUtc, true);
        QCOMPARE(r.utcOffsetHours, -3);
        QCOMPARE(again.readString(QStringLiteral("Program"), QStringLiteral("Osobna numeracja na UKF"), {}),
                 QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TestEntryRules)
#include "tst_entryrules.moc"
