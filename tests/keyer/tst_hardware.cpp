#include "audiosidetone.h"
#include "mediavoiceplayer.h"
#include "serialportlines.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QTest>

class TestKeyerHardware : public QObject {
    Q_OBJECT
private slots:
    void missingSerialPortFailsAndIgnoresLineChanges() {
        SerialPortLines lines;
        const SerialOpenResult result = lines.open(QStringLiteral("kvr-no-such-port"));
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(!lines.isOpen());
        QVERIFY(lines.setRts(true));
        QVERIFY(lines.setDtr(true));
        QVERIFY(!lines.enumerate().contains(QStringLiteral("kvr-no-such-port")));
    }

    // The machine may have no sound device (the offscreen CI has none): every check holds either way. Keying
    // never blocks, and the destructor ends the stream (a thread left running would abort the test).
    void sidetoneStreamsOnlyWithADeviceAndKeyingNeverStopsIt() {
        const bool deviceListed = !QMediaDevices::defaultAudioOutput().isNull();
        for (int round = 0; round < 3; ++round) {
            AudioSidetone tone;
            if (!deviceListed)
                QVERIFY(!tone.hasDevice());
            QCOMPARE(tone.isStreaming(), tone.hasDevice());
            for (int element = 0; element < 100; ++element) {
                tone.toneOn(800, 20);
                tone.toneOff();
            }
            QCOMPARE(tone.isStreaming(), tone.hasDevice());
        }
    }

    // Without a device the operator hears of it once, however many elements are keyed; with one, never.
    void aMissingSoundDeviceIsToldOnce() {
        AudioSidetone tone;
        int told = 0;
        tone.unavailable = [&] { ++told; };
        for (int element = 0; element < 50; ++element) {
            tone.toneOn(700, 30);
            tone.toneOff();
        }
        QCOMPARE(told, tone.hasDevice() ? 0 : 1);
    }

    void voicePlayerWithoutADeviceReportsAFailureAfterPlayReturns() {
        if (!QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("this machine has a sound device");
        MediaVoicePlayer player;
        QList<std::pair<VoiceResult, QString>> results;
        player.finished = [&](VoiceResult result, const QString& error) { results.append({result, error}); };
        player.play(QStringLiteral("/nonexistent/cq.wav"));
        QVERIFY(results.isEmpty());
        QTRY_COMPARE(results.size(), 1);
        QCOMPARE(results.constFirst().first, VoiceResult::Failure);
        QCOMPARE(results.constFirst().second, MediaVoicePlayer::noDeviceMessage());
        player.stop(); // nothing plays: harmless
        QCOMPARE(results.size(), 1);
    }
};

QTEST_MAIN(TestKeyerHardware)
#include "tst_hardware.moc"
