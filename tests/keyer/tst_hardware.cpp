#include "audiosidetone.h"
#include "serialportlines.h"

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

    void sidetoneStreamStartsAndStopsCleanly() {
        // With or without a sound device: switching never blocks and the stream thread ends with the object.
        for (int round = 0; round < 3; ++round) {
            AudioSidetone tone;
            tone.toneOn(800, 20);
            tone.toneOff();
        }
    }
};

QTEST_MAIN(TestKeyerHardware)
#include "tst_hardware.moc"
