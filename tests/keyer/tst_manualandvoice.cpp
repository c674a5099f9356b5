#include "keyer/keyerkeys.h"
#include "keyer/manualcw.h"
#include "keyer/voicekeyer.h"
#include "keyerfixture.h"
#include "scripteddialogs.h"
#include "scriptedvoice.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTest>

namespace {

KeyerConfig lptWithPtt() {
    KeyerConfig c = KeyerFixture::directConfig(20);
    c.port = KeyingPort::Lpt;
    c.ptt = true;
    c.pttDelayMs = 100;
    return c;
}

// The entry window as the voice keyer sees it: the phone modes' buffer keys play through the voice keyer.
struct VoiceEntry final : PlainKeyerEntry {
    VoiceKeyer* voice = nullptr;
    void playBufferWav(int buffer, const QString&) override { voice->play(buffer); }
    void stopVoice() override { voice->stop(); }
};

struct VoiceFixture {
    explicit VoiceFixture(bool loop) {
        entry.modeValue = Mode::phone();
        entry.voice = &voice;
        KeyerConfig c = lptWithPtt();
        c.loopDelaySeconds = 3;
        engine.setConfig(c);
        wav = folder.writeBytes(QStringLiteral("cq.wav"), "RIFF");
        MessageBuffer cq;
        cq.name = QStringLiteral("CQ");
        cq.wavFile = wav;
        cq.loop = loop;
        engine.buffers().set(1, cq);
        port.clear();
    }
    qint64 lastPttMs(int value) const {
        qint64 at = -1;
        for (const RecordingPort::Event& e : port.events())
            if (e.kind == RecordingPort::Kind::Lpt && e.value == value)
                at = e.ms();
        return at;
    }

    TempProgramFolder folder;
    QString wav;
    VirtualKeyerTime time;
    RecordingPort port{time};
    KeyingInterface keying{&port, &port, &port};
    VoiceEntry entry;
    MorseEngine engine{time, keying, entry};
    ScriptedDialogs dialogs;
    ScriptedVoicePlayer player;
    VoiceKeyer voice{engine, player, dialogs};
    KeyerKeys keys{engine, entry};
};

} // namespace

class TestManualAndVoice : public QObject {
    Q_OBJECT
private slots:
    void manualCharactersAreKeyedAsTypedWithPttHeld() {
        KeyerFixture f(lptWithPtt());
        ManualCw manual(f.engine);
        f.port.clear();
        manual.open();
        QCOMPARE(f.port.lptWrites(), QList<int>{13});
        QCOMPARE(f.time.nowMs(), 100); // the PTT delay before the first character

        QVERIFY(!manual.textChanged(QStringLiteral("A")));
        QVERIFY(!manual.textChanged(QStringLiteral("AB")));
        QCOMPARE(manual.counter(), 3);
        QCOMPARE(f.timeline.filter(QStringLiteral("key")).size(), 2 + 4);
        // A deleted character typed again is sent again; "$" means nothing here; a blank is a word gap.
        manual.backspace();
        f.timeline.clear();
        QVERIFY(!manual.textChanged(QStringLiteral("AC$ ")));
        QCOMPARE(f.timeline,
                 (QStringList{QStringLiteral("key 180"), QStringLiteral("pause 60"), QStringLiteral("key 60"),
                              QStringLiteral("pause 60"), QStringLiteral("key 180"), QStringLiteral("pause 60"),
                              QStringLiteral("key 60"), QStringLiteral("pause 180"), QStringLiteral("pause 180")}));
        QCOMPARE(f.port.lptRegister(), 13); // PTT still held between characters

        manual.close();
        QCOMPARE(f.port.lptWrites().constLast(), 8);
    }

    void aStopClearsTheFieldInsteadOfSendingTheNextCharacter() {
        KeyerFixture f(lptWithPtt());
        ManualCw manual(f.engine);
        manual.open();
        QVERIFY(!manual.textChanged(QStringLiteral("E")));
        f.engine.StopSending(); // F12
        f.timeline.clear();
        QVERIFY(manual.textChanged(QStringLiteral("ET")));
        QVERIFY(f.timeline.isEmpty());
        QCOMPARE(manual.counter(), 1);
        QVERIFY(!f.engine.sendAbort());
        QVERIFY(!manual.textChanged(QStringLiteral("T")));
        QCOMPARE(f.timeline.filter(QStringLiteral("key")), QStringList{QStringLiteral("key 180")});
    }

    void manualWindowKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("fullDigits");
        using A = ManualCw::KeyAction;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << int(A::Escape) << 0 << false;
        QTest::newRow("F12 stops") << int(Qt::Key_F12) << 0 << int(A::Stop) << 0 << false;
        QTest::newRow("Alt+T faster") << int(Qt::Key_T) << int(Qt::AltModifier) << int(A::Speed) << 1 << false;
        QTest::newRow("Ctrl+Alt+T faster")
            << int(Qt::Key_T) << int(Qt::ControlModifier | Qt::AltModifier) << int(A::Speed) << 1 << false;
        QTest::newRow("Ctrl+T slower") << int(Qt::Key_T) << int(Qt::ControlModifier) << int(A::Speed) << -1 << false;
        QTest::newRow("Alt+F10 only faster") << int(Qt::Key_F10) << int(Qt::AltModifier) << int(A::Speed) << 1 << false;
        QTest::newRow("Alt+F9 only slower") << int(Qt::Key_F9) << int(Qt::AltModifier) << int(A::Speed) << -1 << false;
        QTest::newRow("F3") << int(Qt::Key_F3) << 0 << int(A::Buffer) << 3 << false;
        QTest::newRow("Shift+F5 full digits")
            << int(Qt::Key_F5) << int(Qt::ShiftModifier) << int(A::Buffer) << 5 << true;
        QTest::newRow("Insert") << int(Qt::Key_Insert) << 0 << int(A::Buffer) << 11 << false;
        QTest::newRow("keypad +") << int(Qt::Key_Plus) << int(Qt::KeypadModifier) << int(A::Buffer) << 12 << false;
        QTest::newRow("typed + is a character") << int(Qt::Key_Plus) << 0 << int(A::None) << 0 << false;
        QTest::newRow("Alt+F1 starts nothing") << int(Qt::Key_F1) << int(Qt::AltModifier) << int(A::None) << 0 << false;
        QTest::newRow("Ctrl+F2 starts nothing")
            << int(Qt::Key_F2) << int(Qt::ControlModifier) << int(A::None) << 0 << false;
        QTest::newRow("a letter") << int(Qt::Key_Q) << 0 << int(A::None) << 0 << false;
    }
    void manualWindowKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, kind);
        QFETCH(int, value);
        QFETCH(bool, fullDigits);
        const ManualCw::KeyAction action = ManualCw::keyAction(key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(int(action.kind), kind);
        QCOMPARE(action.value, value);
        QCOMPARE(action.fullDigitsOnce, fullDigits);
    }

    void voiceBufferPlaysWithPttAroundIt() {
        VoiceFixture f(false);
        f.engine.StartBuffer(1);
        QCOMPARE(f.player.played, QStringList{f.wav});
        QCOMPARE(f.port.lptWrites(), QList<int>{13});
        QCOMPARE(f.time.nowMs(), 100);
        f.time.sleepUntil(std::chrono::milliseconds(2500)); // the message plays
        f.player.finish(VoiceResult::Success);
        QCOMPARE(f.port.lptWrites(), (QList<int>{13, 8}));
        QCOMPARE(f.lastPttMs(8), 2500);
        QVERIFY(!f.engine.loopArmed());
        QVERIFY(f.port.lptWrites().count(1) == 0 && f.port.lptWrites().count(5) == 0); // nothing keyed in SSB
    }

    void loopedVoiceBufferStartsAgainAfterTheDelayUntilACallIsTyped() {
        VoiceFixture f(true);
        QSignalSpy label(&f.engine, &MorseEngine::loopLabelChanged);
        f.engine.StartBuffer(1);
        QCOMPARE(label.constLast().at(0).toBool(), true);
        f.player.finish(VoiceResult::Success);
        QVERIFY(f.engine.loopArmed());
        QCOMPARE(f.port.lptWrites(), (QList<int>{13, 8}));
        f.time.sleepUntil(f.time.now() + std::chrono::seconds(2));
        f.engine.clockTick();
        QCOMPARE(f.player.played.size(), 1);
        f.time.sleepUntil(f.time.now() + std::chrono::seconds(1));
        f.engine.clockTick();
        QCOMPARE(f.player.played.size(), 2);
        QCOMPARE(f.port.lptWrites(), (QList<int>{13, 8, 13}));
        f.player.finish(VoiceResult::Success);
        // A callsign typed before the delay has passed cancels the repeat.
        f.engine.callsignChanged(QStringLiteral("SP9"));
        f.entry.call = QStringLiteral("SP9");
        f.time.sleepUntil(f.time.now() + std::chrono::seconds(5));
        f.engine.clockTick();
        QCOMPARE(f.player.played.size(), 2);
        QVERIFY(!f.engine.loopArmed());
    }

    void escStopsTheMessageAndDropsPtt() {
        VoiceFixture f(true);
        f.engine.StartBuffer(1);
        QVERIFY(f.engine.pttLit());
        f.keys.escape();
        QCOMPARE(f.player.stops, 1);
        QCOMPARE(f.port.lptWrites().constLast(), 8);
        QVERIFY(!f.engine.loopArmed());
    }

    void missingOrUnplayableFilesAreToldAndNeverLeavePttKeyed() {
        VoiceFixture f(false);
        QSignalSpy status(&f.voice, &VoiceKeyer::statusMessage);
        MessageBuffer none = f.engine.buffers().at(1);
        none.wavFile = f.folder.file(QStringLiteral("brak.wav"));
        f.engine.buffers().set(2, none);
        f.engine.StartBuffer(2);
        QVERIFY(f.player.played.isEmpty());
        QVERIFY(f.port.lptWrites().isEmpty());
        QCOMPARE(status.constLast().at(0).toString(), VoiceKeyer::missingFileMessage(2, none.wavFile));
        f.engine.StartBuffer(3);
        QVERIFY(status.constLast().at(0).toString().startsWith(QStringLiteral("Bufor F3 nie ma pliku WAV")));

        f.engine.StartBuffer(1);
        f.player.finish(VoiceResult::Failure, QStringLiteral("Nie można odtworzyć pliku WAV:\nzły format"));
        QCOMPARE(f.port.lptWrites(), (QList<int>{13, 8}));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages.constLast().title, QStringLiteral("Błąd"));
        // The same failure again is not put to the operator in a box a second time, only in the status bar.
        f.engine.StartBuffer(1);
        f.player.finish(VoiceResult::Failure, QStringLiteral("Nie można odtworzyć pliku WAV:\nzły format"));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(status.constLast().at(0).toString(), QStringLiteral("Nie można odtworzyć pliku WAV: zły format"));
        QCOMPARE(f.port.lptRegister(), 8);
    }
};

QTEST_GUILESS_MAIN(TestManualAndVoice)
#include "tst_manualandvoice.moc"
