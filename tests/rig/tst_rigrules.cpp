#include "core/bands.h"
#include "core/modes.h"
#include "rig/rigfollower.h"
#include "rig/rigmapping.h"
#include "rig/rigsettings.h"
#include "settings/inifile.h"
#include "testsupport.h"

#include <QTest>

#include <limits>

namespace {

RigReading at(qint64 hz, const char* mode) {
    return {hz, QString::fromLatin1(mode), QString()};
}

RigFollower::Program program(const char* band, const char* mode, bool warc = false, bool digital = false) {
    return {QString::fromLatin1(band), QString::fromLatin1(mode), Bands::selectorList(warc),
            Modes::selectorList(digital)};
}

} // namespace

class TestRigRules : public QObject {
    Q_OBJECT
private slots:
    void frequencyGivesTheBand_data() {
        QTest::addColumn<qint64>("hz");
        QTest::addColumn<QString>("band");
        QTest::newRow("160M lower edge") << qint64(1'800'000) << "160M";
        QTest::newRow("just below 160M") << qint64(1'799'999) << "";
        QTest::newRow("80M phone") << qint64(3'750'000) << "80M";
        QTest::newRow("60M is no band of the program") << qint64(5'357'000) << "";
        QTest::newRow("20M CW") << qint64(14'025'000) << "20M";
        QTest::newRow("just above 20M") << qint64(14'350'001) << "";
        QTest::newRow("2M SSB") << qint64(144'300'000) << "2M";
        QTest::newRow("23CM") << qint64(1'296'200'000) << "23CM";
    }
    void frequencyGivesTheBand() {
        QFETCH(qint64, hz);
        QFETCH(QString, band);
        QCOMPARE(RigMapping::bandOf(hz), band);
    }

    // Where the radio is sent on a band must be on that band, or the program would leave it at once.
    void everyBandsTuningLiesInTheBand() {
        for (const BandInfo& band : Bands::all()) {
            for (const QString& mode : Modes::selectorList(true)) {
                const QString name = QString::fromLatin1(band.name);
                QCOMPARE(RigMapping::bandOf(RigMapping::defaultFrequency(name, mode)), name);
            }
        }
        QCOMPARE(RigMapping::defaultFrequency(QStringLiteral("60M"), QStringLiteral("CW")), 0);
    }

    void radioModesGiveTheProgramsModes() {
        const std::pair<const char*, const char*> modes[] = {
            {"CW", "CW"},      {"CWR", "CW"},    {"USB", "SSB"}, {"lsb", "SSB"}, {"FMN", "FM"},
            {"RTTYR", "RTTY"}, {"PSK", "PSK31"}, {"AM", ""},     {"PKTUSB", ""},
        };
        // AM and the packet modes have no counterpart: the program keeps its mode.
        for (const auto& [rigMode, mode] : modes)
            QCOMPARE(RigMapping::modeOf(QString::fromLatin1(rigMode)), QString::fromLatin1(mode));
    }

    void programModesGoToTheRadioAsOnTheAir() {
        QCOMPARE(RigMapping::rigModeFor(QStringLiteral("SSB"), QStringLiteral("160M")), QStringLiteral("LSB"));
        QCOMPARE(RigMapping::rigModeFor(QStringLiteral("SSB"), QStringLiteral("40M")), QStringLiteral("LSB"));
        QCOMPARE(RigMapping::rigModeFor(QStringLiteral("SSB"), QStringLiteral("30M")), QStringLiteral("USB"));
        QCOMPARE(RigMapping::rigModeFor(QStringLiteral("SSB"), QStringLiteral("2M")), QStringLiteral("USB"));
        QCOMPARE(RigMapping::rigModeFor(QStringLiteral("PSK31"), QStringLiteral("20M")), QStringLiteral("PKTUSB"));
        // What the program sends comes back as the same mode.
        for (const char* mode : {"CW", "SSB", "FM", "RTTY"}) {
            for (const char* band : {"80M", "20M", "2M"}) {
                const QString sent = RigMapping::rigModeFor(QString::fromLatin1(mode), QString::fromLatin1(band));
                QCOMPARE(RigMapping::modeOf(sent), QString::fromLatin1(mode));
            }
        }
    }

    void kilohertzKeepTheHundredsOfHertz() {
        QCOMPARE(RigMapping::kilohertz(3'750'049), QStringLiteral("3750.0"));
        QCOMPARE(RigMapping::kilohertz(1'296'199'960), QStringLiteral("1296200.0"));
    }

    void onlyFrequenciesARadioCanHaveAreTaken_data() {
        QTest::addColumn<double>("hz");
        QTest::addColumn<qint64>("taken"); // -1: refused
        QTest::newRow("half a hertz rounds up") << 14'025'000.5 << qint64(14'025'001);
        QTest::newRow("just below 1 THz") << 999'999'999'999.0 << qint64(999'999'999'999);
        QTest::newRow("1 THz") << 1e12 << qint64(-1);
        QTest::newRow("overflowing 1e300") << 1e300 << qint64(-1);
        QTest::newRow("rigctld's overflow of 1e300") << -9223372036854775808.0 << qint64(-1);
        QTest::newRow("zero") << 0.0 << qint64(-1);
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << qint64(-1);
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << qint64(-1);
    }
    void onlyFrequenciesARadioCanHaveAreTaken() {
        QFETCH(double, hz);
        QFETCH(qint64, taken);
        QCOMPARE(RigMapping::frequencyFromRig(hz).value_or(-1), taken);
    }

    void anImpossibleFrequencyIsNamedInTheReason() {
        QCOMPARE(RigMapping::impossibleFrequencyText(1e300),
                 QStringLiteral("radio podało niemożliwą częstotliwość: 1e+300 Hz"));
    }

    void readingsMoveTheProgramOnlyWhenTheRadioMoves() {
        RigFollower follower;
        // The first reading is news: the band follows, the mode is the same already.
        RigFollower::Follow f = follower.reading(at(14'025'000, "CW"), 0, program("80M", "CW"));
        QCOMPARE(f.band, QStringLiteral("20M"));
        QCOMPARE(f.mode, QString());
        // The operator chose 40M; the radio did not move, so the program stays where the operator put it.
        f = follower.reading(at(14'025'000, "CW"), 0, program("40M", "CW"));
        QVERIFY(f.band.isEmpty() && f.mode.isEmpty());
        // Tuned within 20M: that is the radio moving, and the program is not on its band.
        f = follower.reading(at(14'030'000, "CW"), 0, program("40M", "CW"));
        QCOMPARE(f.band, QStringLiteral("20M"));
        // A mode change alone follows alone.
        f = follower.reading(at(14'030'000, "USB"), 0, program("20M", "CW"));
        QCOMPARE(f.band, QString());
        QCOMPARE(f.mode, QStringLiteral("SSB"));
        // A failed reading changes nothing, and after a lost connection the next reading is news again.
        QVERIFY(follower.reading({0, QString(), QStringLiteral("IO error")}, 0, program("40M", "SSB")).band.isEmpty());
        follower.reset();
        QCOMPARE(follower.reading(at(14'030'000, "USB"), 0, program("40M", "SSB")).band, QStringLiteral("20M"));
    }

    void onlyWhatTheListsOfferIsSelected() {
        RigFollower follower;
        // 30M without the WARC bands, RTTY without the digital modes: the program keeps its own.
        RigFollower::Follow f = follower.reading(at(10'120'000, "RTTY"), 0, program("20M", "CW"));
        QVERIFY(f.band.isEmpty() && f.mode.isEmpty());
        follower.reset();
        f = follower.reading(at(10'120'000, "RTTY"), 0, program("20M", "CW", true, true));
        QCOMPARE(f.band, QStringLiteral("30M"));
        QCOMPARE(f.mode, QStringLiteral("RTTY"));
        // Out of every band (60M) and a mode the program has not (AM): nothing.
        f = follower.reading(at(5'357'000, "AM"), 0, program("20M", "CW", true, true));
        QVERIFY(f.band.isEmpty() && f.mode.isEmpty());
    }

    void onlyBothWaysTunesTheRadio() {
        RigFollower follower;
        QVERIFY(follower.bandChosen(QStringLiteral("40M"), QStringLiteral("CW")).empty());
        follower.setBothWays(true);
        // Nothing is known of the radio before its first reading.
        QVERIFY(follower.bandChosen(QStringLiteral("40M"), QStringLiteral("CW")).empty());
        follower.reading(at(14'025'000, "CW"), 0, program("20M", "CW"));
        // The band the radio is on needs no tuning: the echo of a change that followed the radio.
        QVERIFY(follower.bandChosen(QStringLiteral("20M"), QStringLiteral("CW")).empty());
        QVERIFY(follower.modeChosen(QStringLiteral("CW"), QStringLiteral("20M")).empty());
        const RigFollower::Tune tune = follower.bandChosen(QStringLiteral("40M"), QStringLiteral("CW"));
        QCOMPARE(tune.frequencyHz, qint64(7'020'000));
        QCOMPARE(tune.mode, QString());
        QCOMPARE(follower.modeChosen(QStringLiteral("SSB"), QStringLiteral("20M")).mode, QStringLiteral("USB"));
    }

    void theOperatorsBandIsNotUndoneByAStaleReading() {
        RigFollower follower;
        follower.setBothWays(true);
        follower.reading(at(14'025'000, "USB"), 0, program("20M", "SSB"));
        // SSB from 20M to 80M: the usual phone frequency and the lower sideband.
        const RigFollower::Tune tune = follower.bandChosen(QStringLiteral("80M"), QStringLiteral("SSB"));
        QCOMPARE(tune.frequencyHz, qint64(3'700'000));
        QCOMPARE(tune.mode, QStringLiteral("LSB"));
        follower.tuneSent(1);
        // Read before the radio was tuned: still 20M, which must not take the program back.
        RigFollower::Follow f = follower.reading(at(14'025'000, "USB"), 0, program("80M", "SSB"));
        QVERIFY(f.band.isEmpty() && f.mode.isEmpty());
        f = follower.reading(at(3'700'000, "LSB"), 1, program("80M", "SSB"));
        QVERIFY(f.band.isEmpty() && f.mode.isEmpty());
        // The operator tunes to 3.765 and leaves for 40M; coming back, the radio returns to 3.765.
        follower.reading(at(3'765'000, "LSB"), 1, program("80M", "SSB"));
        follower.reading(at(7'100'000, "LSB"), 1, program("40M", "SSB"));
        QCOMPARE(follower.bandChosen(QStringLiteral("80M"), QStringLiteral("SSB")).frequencyHz, qint64(3'765'000));
        // In CW, 80M is not where the phone contacts were.
        QCOMPARE(follower.bandChosen(QStringLiteral("80M"), QStringLiteral("CW")).frequencyHz, qint64(3'530'000));
    }

    void settingsAreKeptInTheRadioSection() {
        TempProgramFolder folder;
        const QString path = folder.file(QStringLiteral("kvr_log.ini"));
        RigSettings s;
        s.connection = RigSettings::Connection::Rigctld;
        s.model = 3073;
        s.port = QStringLiteral("/dev/ttyUSB0");
        s.speed = 19200;
        s.rigctldAddress = QStringLiteral("radio.local:4533");
        s.pollMs = 250;
        s.bothWays = true;
        s.pttThroughRig = true;
        {
            IniFile ini(path);
            s.write(ini);
        }
        const QString text = QString::fromUtf8(fileBytes(path));
        QVERIFY2(text.contains(QStringLiteral("[Radio]\r\nPolaczenie=2\r\nModel=3073\r\n")), qPrintable(text));
        const RigSettings back = RigSettings::read(IniFile(path));
        QCOMPARE(int(back.connection), 2);
        QCOMPARE(back.model, 3073);
        QCOMPARE(back.rigctldAddress, s.rigctldAddress);
        QCOMPARE(back.speed, 19200);
        QCOMPARE(back.pollMs, 250);
        QVERIFY(back.bothWays && back.pttThroughRig);

        // Values no dialog gives are brought into range; an unknown connection is no radio.
        folder.writeBytes(QStringLiteral("bad.ini"), "[Radio]\r\nPolaczenie=7\r\nOdpytywanie=5\r\nPredkosc=-1\r\n");
        const RigSettings bad = RigSettings::read(IniFile(folder.file(QStringLiteral("bad.ini"))));
        QVERIFY(!bad.enabled());
        QCOMPARE(bad.pollMs, RigSettings::kMinPollMs);
        QCOMPARE(bad.speed, 0);
    }

    void aConnectionThatCannotWorkSaysWhy() {
        struct Case {
            RigSettings::Connection connection;
            int model;
            const char* port;
            const char* address;
            bool works;
        };
        using C = RigSettings::Connection;
        const Case cases[] = {
            {C::Serial, 3073, "/dev/ttyUSB0", "", true}, {C::Serial, 0, "/dev/ttyUSB0", "", false},
            {C::Serial, 3073, " ", "", false},           {C::Rigctld, 0, "", "localhost:4532", true},
            {C::Rigctld, 0, "", "::1:4532", true},       {C::Rigctld, 0, "", "localhost", false},
            {C::Rigctld, 0, "", ":4532", false},         {C::Rigctld, 0, "", "localhost:65536", false},
        };
        for (const Case& c : cases) {
            RigSettings s;
            s.connection = c.connection;
            s.model = c.model;
            s.port = QString::fromLatin1(c.port);
            s.rigctldAddress = QString::fromLatin1(c.address);
            QVERIFY2(!s.problem().has_value() == c.works, c.address[0] ? c.address : c.port);
        }
    }
};

QTEST_GUILESS_MAIN(TestRigRules)
#include "tst_rigrules.moc"
