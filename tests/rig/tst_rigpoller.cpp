#include "core/bands.h"
#include "core/modes.h"
#include "entry/rigcontrol.h"
#include "rig/rigpoller.h"
#include "scriptedrig.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kPollMs = 20;

// Waits for readings until one satisfies the check; false when none did within the spy's patience.
template <typename F> bool readingWhere(QSignalSpy& spy, F&& check) {
    for (int waited = 0; waited < 50; ++waited) {
        while (!spy.isEmpty()) {
            const QList<QVariant> arguments = spy.takeFirst();
            if (check(arguments.at(0).value<RigReading>(), arguments.at(1).value<quint64>()))
                return true;
        }
        if (!spy.wait(1000))
            return false;
    }
    return false;
}

// The entry window as RigControl sees it: its band and mode, which follow what RigControl asks for.
struct FollowingWindow {
    explicit FollowingWindow(RigControl& control) {
        control.setProgram([this] {
            return RigFollower::Program{band, mode, Bands::selectorList(false), Modes::selectorList(false)};
        });
        control.setBusy([this] { return busy; });
        QObject::connect(&control, &RigControl::followBand, &control, [this, &control](const QString& b) {
            band = b;
            bands << b;
            control.bandChosen(band, mode);
        });
        QObject::connect(&control, &RigControl::followMode, &control, [this, &control](const QString& m) {
            mode = m;
            modes << m;
            control.modeChosen(mode, band);
        });
    }
    QString band = QStringLiteral("80M");
    QString mode = QStringLiteral("CW");
    bool busy = false;
    QStringList bands;
    QStringList modes;
};

RigSettings rigctldSettings(bool bothWays) {
    RigSettings s;
    s.connection = RigSettings::Connection::Rigctld;
    s.pollMs = kPollMs;
    s.bothWays = bothWays;
    return s;
}

} // namespace

class TestRigPoller : public QObject {
    Q_OBJECT
private slots:
    void aLostRadioIsReportedAndFoundAgain() {
        auto owned = std::make_unique<ScriptedRig>();
        ScriptedRig& rig = *owned;
        rig.script([](ScriptedRig::State& s) { s.refusesOpen = true; });
        RigPoller poller(std::move(owned), kPollMs);
        QSignalSpy connection(&poller, &RigPoller::connectionChanged);
        QSignalSpy readings(&poller, &RigPoller::readingArrived);
        poller.start();
        QVERIFY(connection.wait());
        QCOMPARE(connection.takeFirst(), (QList<QVariant>{false, QStringLiteral("Connection refused")}));

        // Tried again at every poll until the radio answers.
        rig.script([](ScriptedRig::State& s) { s.refusesOpen = false; });
        QVERIFY(connection.wait());
        QCOMPARE(connection.takeFirst(), (QList<QVariant>{true, QString()}));
        QVERIFY(readingWhere(readings, [](const RigReading& r, quint64) {
            return r.frequencyHz == 14'025'000 && r.mode == QLatin1String("CW");
        }));

        // A read that fails closes the connection; the next poll opens it again.
        const int opens = rig.state().opens;
        rig.script([](ScriptedRig::State& s) { s.lost = true; });
        QVERIFY(connection.wait());
        QCOMPARE(connection.takeFirst(), (QList<QVariant>{false, QStringLiteral("IO error")}));
        QVERIFY(rig.state().commands.contains(QStringLiteral("close")));
        rig.script([](ScriptedRig::State& s) { s.lost = false; });
        QVERIFY(connection.wait());
        QCOMPARE(connection.takeFirst().at(0).toBool(), true);
        QVERIFY(rig.state().opens > opens);
    }

    // The radio hangs inside a call: every command still returns at once, and they reach the radio in the
    // order given once it answers again.
    void commandsReturnWhileTheRadioHangs() {
        auto owned = std::make_unique<ScriptedRig>();
        ScriptedRig& rig = *owned;
        rig.hang();
        RigPoller poller(std::move(owned), kPollMs);
        QSignalSpy readings(&poller, &RigPoller::readingArrived);
        poller.start();
        poller.setPtt(true);
        poller.sendMorse(QStringLiteral("C"), 28);
        poller.tune(3'530'000, QString());
        poller.setPtt(false);
        QVERIFY(readings.isEmpty());
        rig.release();
        QVERIFY(readingWhere(
            readings, [](const RigReading& r, quint64 tuned) { return tuned == 1 && r.frequencyHz == 3'530'000; }));
        QCOMPARE(rig.state().commands, (QStringList{QStringLiteral("T 1"), QStringLiteral("b C 28"),
                                                    QStringLiteral("F 3530000"), QStringLiteral("T 0")}));
    }

    void theProgramFollowsAndTunesTheRadio() {
        ScriptedRig* rig = nullptr;
        RigControl control([&rig](const RigSettings&) {
            auto made = std::make_unique<ScriptedRig>();
            rig = made.get();
            return made;
        });
        FollowingWindow window(control);
        control.apply(rigctldSettings(true));
        QCOMPARE(control.statusText(), QStringLiteral("Radio: brak połączenia"));
        QTRY_COMPARE(window.band, QStringLiteral("20M"));
        QCOMPARE(control.statusText(), QStringLiteral("Radio: połączone"));
        QCOMPARE(control.frequency(), qint64(14'025'000));
        QCOMPARE(window.modes, QStringList());

        // The operator's band change tunes the radio, and the radio's old frequency does not take it back.
        window.band = QStringLiteral("40M");
        control.bandChosen(window.band, window.mode);
        QTRY_COMPARE(control.frequency(), qint64(7'020'000));
        QCOMPARE(window.bands, QStringList{QStringLiteral("20M")});
        QCOMPARE(rig->state().commands, QStringList{QStringLiteral("F 7020000")});

        // While a dialog is open the window does not change; the radio's move is taken once it closes.
        window.busy = true;
        rig->script([](ScriptedRig::State& s) {
            s.frequencyHz = 3'750'000;
            s.mode = QStringLiteral("LSB");
        });
        // The reading that brought the new frequency was held back, not taken.
        QTRY_COMPARE(control.frequency(), qint64(3'750'000));
        QCOMPARE(window.band, QStringLiteral("40M"));
        window.busy = false;
        QTRY_COMPARE(window.band, QStringLiteral("80M"));
        QCOMPARE(window.mode, QStringLiteral("SSB"));
        // Following the radio sent nothing back to it.
        QCOMPARE(rig->state().commands, QStringList{QStringLiteral("F 7020000")});

        rig->script([](ScriptedRig::State& s) { s.lost = true; });
        QTRY_COMPARE(control.statusText(), QStringLiteral("Radio: brak połączenia (IO error)"));
        QCOMPARE(control.frequency(), qint64(0));
    }

    void newSettingsDoNotWaitForAHangingRadio() {
        std::vector<ScriptedRig*> rigs;
        RigControl control([&rigs](const RigSettings&) {
            auto made = std::make_unique<ScriptedRig>();
            rigs.push_back(made.get());
            return made;
        });
        FollowingWindow window(control);
        RigSettings settings = rigctldSettings(false);
        control.apply(settings);
        QTRY_COMPARE(control.state(), RigControl::State::Connected);
        rigs.front()->hang();
        // The hanging radio's poller is let go; the new one answers meanwhile.
        control.apply(settings);
        QCOMPARE(rigs.size(), size_t(2));
        QTRY_COMPARE(control.state(), RigControl::State::Connected);
        control.keying().sendMorse(QStringLiteral("T"), 30);
        QTRY_VERIFY(rigs.back()->state().commands.contains(QStringLiteral("b T 30")));
        QVERIFY(!rigs.front()->state().commands.contains(QStringLiteral("b T 30")));
        rigs.front()->release();

        control.apply(RigSettings());
        QCOMPARE(control.state(), RigControl::State::Off);
        QCOMPARE(control.statusText(), QString());
    }
};

QTEST_GUILESS_MAIN(TestRigPoller)
#include "tst_rigpoller.moc"
