#include "cwdaemonprocess.h"
#include "keyer/cwdaemonkeyer.h"
#include "keyer/keyerentry.h"
#include "keyer/keyinginterface.h"
#include "keyer/morseengine.h"
#include "keyer/winkeyerkeyer.h"
#include "keyer/winkeyerprotocol.h"
#include "recordingport.h"
#include "serialportstream.h"
#include "udpdatagrams.h"
#include "winkeyeremulator.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

// The Morse engine keying through a keyer that times the Morse itself, over the real serial and socket code: the
// buffers, the stop key, the paddle, the speed keys and the macros behave as with our own timing.
namespace {

// The keyer chain a transmission goes through, declared so that the engine goes before the keyer and the keyer
// before its port.
struct TextKeyerEngine {
    VirtualKeyerTime time;
    RecordingPort port{time};
    KeyingInterface keying{&port, &port, &port};
    PlainKeyerEntry entry;
    std::unique_ptr<TextKeyer> keyer;
    std::unique_ptr<MorseEngine> engine;
    QString lastSent;

    bool attach(std::unique_ptr<TextKeyer> made, int wpm) {
        keyer = std::move(made);
        KeyerConfig config;
        config.speed = wpm;
        config.sidetone = false;
        TextKeyerSettings settings = config.textKeyerSettings();
        if (!keyer->open(settings).ok)
            return false;
        engine = std::make_unique<MorseEngine>(time, keying, entry);
        engine->setConfig(config);
        engine->setTextKeyer(keyer.get());
        QObject::connect(engine.get(), &MorseEngine::sentChanged, engine.get(),
                         [this](const QString& text) { lastSent = text; });
        entry.contestCall = QStringLiteral("SP9KVR");
        return true;
    }
    ~TextKeyerEngine() {
        engine.reset();
        if (keyer)
            keyer->close();
    }
    void sendBuffer(const QString& text) {
        engine->buffers().set(1, {QStringLiteral("F1"), text, QString(), false});
        engine->StartBuffer(1);
    }
    bool finished() const { return !engine->sending() && !engine->txDown(); }
};

struct WinkeyerChain {
    WinkeyerEmulator chip{16, 10};
    SerialPortStream stream;
    TextKeyerEngine keyed;

    bool start() { return chip.start() && keyed.attach(std::make_unique<WinkeyerKeyer>(&stream, chip.portName()), 30); }
    bool received(const QByteArray& command) const { return chip.indexOf(command) >= 0; }
};

} // namespace

class TestTextKeyerEngine : public QObject {
    Q_OBJECT
private slots:
    void aBufferGoesOutThroughTheChipAsItsEchoSays() {
        WinkeyerChain w;
        QVERIFY(w.start());
        w.chip.setAutoKey(1);
        w.keyed.sendBuffer(QStringLiteral("cq <MYCALL> test"));
        QTRY_VERIFY(w.keyed.finished());
        QCOMPARE(w.chip.echoed(), QByteArray("CQ SP9KVR TEST"));
        QTRY_COMPARE(w.keyed.lastSent.trimmed(), QStringLiteral("CQ SP9KVR TEST"));
        // Fed a few characters ahead of the echo: the outgoing text stays editable and the chip never fills.
        QVERIFY2(w.chip.maxHeld() <= 3, qPrintable(QString::number(w.chip.maxHeld())));
        QCOMPARE(w.chip.overruns(), 0);
    }

    // Each way the operator or the chip ends a transmission: nothing more is handed to the chip, "TX" is released.
    void aTransmissionEndsAtOnceWhenStopped_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("the stop key clears the chip's buffer") << QStringLiteral("stop");
        QTest::newRow("the paddle breaks in and the loop is cancelled") << QStringLiteral("paddle");
        QTest::newRow("the chip is unplugged") << QStringLiteral("unplug");
    }
    void aTransmissionEndsAtOnceWhenStopped() {
        QFETCH(QString, how);
        WinkeyerChain w;
        QVERIFY(w.start());
        QSignalSpy paddle(w.keyed.engine.get(), &MorseEngine::pausedByPaddle);
        QSignalSpy failed(w.keyed.engine.get(), &MorseEngine::keyerFailed);
        w.keyed.engine->armLoop();
        w.keyed.sendBuffer(QStringLiteral("TEST TEST TEST TEST"));
        QTRY_COMPARE(w.chip.textReceived().size(), 3);
        if (how == QLatin1String("stop"))
            w.keyed.engine->StopSending();
        else if (how == QLatin1String("paddle"))
            w.chip.touchPaddle();
        else
            w.chip.unplug();
        QTRY_VERIFY(w.keyed.finished());
        QCOMPARE(w.chip.textReceived(), QByteArray("TES"));
        if (how == QLatin1String("stop"))
            QTRY_VERIFY(w.received(Winkeyer::clearBuffer()));
        if (how == QLatin1String("paddle")) {
            QTRY_COMPARE(paddle.size(), 1);
            QVERIFY(!w.keyed.engine->loopArmed());
        }
        if (how == QLatin1String("unplug")) {
            QTRY_COMPARE(failed.size(), 1);
            QVERIFY(failed.first().first().toString().startsWith(QStringLiteral("Winkeyer odłączony")));
        }
    }

    // What follows <SAVEQSO> happens when the text before it has gone out, not when it was handed over.
    void theContactIsLoggedWhenTheTextBeforeItIsOnTheAir() {
        WinkeyerChain w;
        QVERIFY(w.start());
        w.keyed.sendBuffer(QStringLiteral("TU <SAVEQSO>"));
        QTRY_COMPARE(w.chip.textReceived(), QByteArray("TU "));
        w.chip.keyNext(2);
        QTRY_COMPARE(w.keyed.lastSent.trimmed(), QStringLiteral("TU"));
        QCOMPARE(w.keyed.entry.addQsoCount, 0);
        w.chip.keyNext(1);
        QTRY_COMPARE(w.keyed.entry.addQsoCount, 1);
        QTRY_VERIFY(w.keyed.finished());
    }

    void aSpeedKeyReachesTheChipWhileItSends() {
        WinkeyerChain w;
        QVERIFY(w.start());
        w.keyed.sendBuffer(QStringLiteral("TEST TEST"));
        QTRY_VERIFY(w.chip.textReceived().size() >= 1);
        w.keyed.engine->changeSpeedBy(2);
        QTRY_VERIFY(w.received(Winkeyer::setSpeed(32)));
        w.chip.setAutoKey(1);
        QTRY_VERIFY(w.keyed.finished());
        // The speed the operator chose survives the end of the transmission.
        QCOMPARE(w.keyed.engine->speed(), 32);
    }

    void aBufferGoesOutThroughCwdaemon() {
        QString why;
        if (!CwdaemonProcess::available(&why))
            QSKIP(qPrintable(why));
        CwdaemonProcess daemon;
        QVERIFY(daemon.start());
        UdpDatagrams socket;
        TextKeyerEngine keyed;
        QVERIFY(keyed.attach(std::make_unique<CwdaemonKeyer>(&socket, daemon.address()), 60));
        keyed.sendBuffer(QStringLiteral("<MYCALL> TU"));
        QTRY_VERIFY_WITH_TIMEOUT(keyed.finished(), 15000);
        QTRY_COMPARE(keyed.lastSent.trimmed(), QStringLiteral("SP9KVR TU"));
        QTRY_VERIFY(daemon.keyedText().contains(QStringLiteral("SP9KVR TU")));
    }
};

QTEST_GUILESS_MAIN(TestTextKeyerEngine)
#include "tst_textkeyerengine.moc"
