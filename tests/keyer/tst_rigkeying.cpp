#include "keyerfixture.h"

#include <QTest>

namespace {

// The radio's keyer as the keyer sees it: every call recorded, with the keyer's time.
class RecordingRigKeying final : public RigKeying {
public:
    explicit RecordingRigKeying(const VirtualKeyerTime& time) : m_time(time) {}
    void sendMorse(const QString& text, int wpm) override { record(QStringLiteral("b %1 %2").arg(text).arg(wpm)); }
    void stopMorse() override { record(QStringLiteral("stop")); }
    void setPtt(bool on) override { record(on ? QStringLiteral("T 1") : QStringLiteral("T 0")); }
    QStringList calls() const {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    QList<qint64> times() const {
        std::lock_guard lock(m_mutex);
        return m_times;
    }

private:
    void record(const QString& call) {
        std::lock_guard lock(m_mutex);
        m_calls << call;
        m_times << m_time.nowMs();
    }
    const VirtualKeyerTime& m_time;
    mutable std::mutex m_mutex;
    QStringList m_calls;
    QList<qint64> m_times;
};

KeyerConfig serialConfig(KeyerKind kind = KeyerKind::Lines) {
    KeyerConfig c = KeyerFixture::directConfig(25);
    c.kind = kind;
    c.port = KeyingPort::Com;
    c.comPort = QStringLiteral("COM1");
    c.sidetone = true;
    return c;
}

QList<RecordingPort::Kind> kinds(const RecordingPort& port) {
    QList<RecordingPort::Kind> list;
    for (const RecordingPort::Event& e : port.events())
        list << e.kind;
    return list;
}

} // namespace

class TestRigKeying : public QObject {
    Q_OBJECT
private slots:
    // The radio's keyer gets each character as the engine reaches it; the keying line and the sidetone stay
    // silent, and the engine's own timing (what the display and the stop keys follow) is that of the line.
    void cwGoesToTheRadiosKeyerAsTheEngineReachesIt() {
        KeyerFixture keyed(serialConfig());
        keyed.port.open(QStringLiteral("COM1"));
        keyed.engine.SendText(QStringLiteral("CQ TEST"));

        KeyerFixture f(serialConfig(KeyerKind::Rig));
        f.port.open(QStringLiteral("COM1"));
        RecordingRigKeying rig(f.time);
        f.keying.setRigKeying(&rig, true);
        QVERIFY(f.keying.cwThroughRig());
        f.engine.SendText(QStringLiteral("CQ TEST"));
        QCOMPARE(rig.calls(),
                 (QStringList{"T 1", "b C 25", "b Q 25", "b   25", "b T 25", "b E 25", "b S 25", "b T 25", "T 0"}));
        for (const RecordingPort::Event& e : f.port.events()) {
            QVERIFY(e.kind != RecordingPort::Kind::ToneOn);
            QVERIFY(!((e.kind == RecordingPort::Kind::Rts || e.kind == RecordingPort::Kind::Dtr) && e.value));
        }
        // Timed as the line would be keyed, after the PTT delay; each character handed over at its start.
        QCOMPARE(f.timeline.first(), QStringLiteral("pause 100"));
        QCOMPARE(f.timeline.mid(1), keyed.timeline);
        const QList<qint64> times = rig.times();
        QVERIFY(std::is_sorted(times.begin(), times.end()));
        QVERIFY(times.at(1) >= f.config.pttDelayMs);
        QVERIFY(times.at(2) > times.at(1));
    }

    void aStopDropsWhatTheRadioHasNotSent() {
        KeyerFixture f(serialConfig(KeyerKind::Rig));
        RecordingRigKeying rig(f.time);
        f.keying.setRigKeying(&rig, false);
        f.time.at(300, [&] { f.engine.StopSending(); });
        f.engine.SendText(QStringLiteral("TEST TEST"));
        const QStringList calls = rig.calls();
        QVERIFY(calls.contains(QStringLiteral("stop")));
        QVERIFY(calls.size() < 6);
        QVERIFY(!calls.contains(QStringLiteral("T 1")));
        // Nothing is handed to the radio after the stop.
        QCOMPARE(calls.last(), QStringLiteral("stop"));
    }

    // CAT PTT with a keying line: the line keys, PTT goes to the radio, and the PTT line is never raised.
    void pttByCommandBesideTheKeyingLine() {
        KeyerFixture f(serialConfig());
        f.port.open(QStringLiteral("COM1"));
        RecordingRigKeying rig(f.time);
        QVERIFY(!f.keying.pttOption());
        f.keying.setRigKeying(&rig, true);
        QVERIFY(!f.keying.cwThroughRig());
        QVERIFY(f.keying.pttOption());
        f.engine.SendText(QStringLiteral("E"));
        QCOMPARE(rig.calls(), (QStringList{"T 1", "T 0"}));
        QVERIFY(kinds(f.port).contains(RecordingPort::Kind::Dtr));
        QVERIFY(kinds(f.port).contains(RecordingPort::Kind::ToneOn));
        for (const RecordingPort::Event& e : f.port.events())
            QVERIFY(!(e.kind == RecordingPort::Kind::Rts && e.value));
        // Without a radio neither choice holds.
        f.engine.setConfig(serialConfig(KeyerKind::Rig));
        f.keying.setRigKeying(nullptr, true);
        QVERIFY(!f.keying.pttOption());
        QVERIFY(!f.keying.cwThroughRig());
    }
};

QTEST_GUILESS_MAIN(TestRigKeying)
#include "tst_rigkeying.moc"
