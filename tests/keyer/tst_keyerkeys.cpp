#include "keyer/keyerkeys.h"
#include "keyerfixture.h"

#include <QTest>

class TestKeyerKeys : public QObject {
    Q_OBJECT
private:
    // Which buffer a key started: each buffer holds a different letter, so the keyed timeline tells.
    static void fillBuffers(MorseEngine& engine) {
        for (int n = 1; n <= 12; ++n)
            engine.buffers().set(n, {MessageBuffers::defaultName(n), QString(QChar(u'A' + n - 1)), {}, false});
    }

private slots:
    void keyTable_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("buffer"); // 0: none started
        QTest::addColumn<bool>("consumed");
        QTest::newRow("F1") << int(Qt::Key_F1) << 0 << 1 << true;
        QTest::newRow("Shift+F2") << int(Qt::Key_F2) << int(Qt::ShiftModifier) << 2 << true;
        QTest::newRow("Ctrl+F1 is the band key") << int(Qt::Key_F1) << int(Qt::ControlModifier) << 0 << false;
        QTest::newRow("Alt+F2 is the band key") << int(Qt::Key_F2) << int(Qt::AltModifier) << 0 << false;
        QTest::newRow("Ctrl+Alt+F1 is the mode key")
            << int(Qt::Key_F1) << int(Qt::ControlModifier | Qt::AltModifier) << 0 << false;
        QTest::newRow("Ctrl+Shift+F1 starts the buffer")
            << int(Qt::Key_F1) << int(Qt::ControlModifier | Qt::ShiftModifier) << 1 << true;
        QTest::newRow("F3") << int(Qt::Key_F3) << 0 << 3 << true;
        QTest::newRow("Ctrl+F5 starts buffer 5") << int(Qt::Key_F5) << int(Qt::ControlModifier) << 5 << true;
        QTest::newRow("Alt+F9 is a speed key") << int(Qt::Key_F9) << int(Qt::AltModifier) << 0 << true;
        QTest::newRow("Ctrl+F9 starts buffer 9") << int(Qt::Key_F9) << int(Qt::ControlModifier) << 9 << true;
        QTest::newRow("F10") << int(Qt::Key_F10) << 0 << 10 << true;
        QTest::newRow("Insert") << int(Qt::Key_Insert) << 0 << 11 << true;
        QTest::newRow("numpad plus") << int(Qt::Key_Plus) << int(Qt::KeypadModifier) << 12 << true;
        QTest::newRow("main keyboard plus is text") << int(Qt::Key_Plus) << 0 << 0 << false;
        QTest::newRow("Down without mapping") << int(Qt::Key_Down) << 0 << 0 << false;
        QTest::newRow("Up without mapping") << int(Qt::Key_Up) << 0 << 0 << false;
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << 0 << false;
    }
    void keyTable() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, buffer);
        QFETCH(bool, consumed);
        KeyerFixture f;
        fillBuffers(f.engine);
        KeyerKeys keys(f.engine, f.entry);
        QCOMPARE(keys.keyPressed(key, Qt::KeyboardModifiers(modifiers)), consumed);
        if (buffer == 0) {
            QVERIFY(f.timeline.isEmpty());
        } else {
            QCOMPARE(f.engine.lastBuffer(), buffer);
            QVERIFY(!f.timeline.isEmpty());
        }
    }

    void shiftSetsFullDigitsOnce() {
        KeyerFixture f;
        f.engine.buffers().set(3, {QStringLiteral("F3"), QStringLiteral("<STX>"), {}, false});
        f.entry.call = QStringLiteral("SP1ABC");
        f.entry.first = QStringLiteral("009");
        f.entry.second = QStringLiteral("ABC");
        f.time.at(60, [&] { QVERIFY(f.engine.fullDigitsOnce()); });
        KeyerKeys keys(f.engine, f.entry);
        QString sent;
        connect(&f.engine, &MorseEngine::sentChanged, this, [&](const QString& t) { sent = t; });
        keys.keyPressed(Qt::Key_F3, Qt::ShiftModifier);
        QVERIFY(sent.contains(QStringLiteral("009 ABC")));
        QVERIFY(!f.engine.fullDigitsOnce()); // cleared at the normal end
    }

    void speedKeysChangeSpeedAndSavedSpeed() {
        KeyerFixture f(KeyerFixture::directConfig(30));
        KeyerKeys keys(f.engine, f.entry);
        QVERIFY(keys.keyPressed(Qt::Key_F10, Qt::AltModifier));
        QVERIFY(keys.keyPressed(Qt::Key_F10, Qt::ControlModifier | Qt::AltModifier));
        QCOMPARE(f.engine.speed(), 32);
        QVERIFY(keys.keyPressed(Qt::Key_F9, Qt::AltModifier));
        QCOMPARE(f.engine.speed(), 31);
        QCOMPARE(f.engine.savedSpeed(), 31);
        QVERIFY(f.timeline.isEmpty());
    }

    void cursorKeysWhenMapped() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.mapDownAsInsert = true;
        c.mapUpAsPlus = true;
        KeyerFixture f(c);
        fillBuffers(f.engine);
        KeyerKeys keys(f.engine, f.entry);
        QVERIFY(keys.keyPressed(Qt::Key_Down, Qt::NoModifier));
        QCOMPARE(f.engine.lastBuffer(), 11);
        QVERIFY(keys.keyPressed(Qt::Key_Up, Qt::NoModifier));
        QCOMPARE(f.engine.lastBuffer(), 12);
    }

    void f11AndAltWClearTheEntry() {
        KeyerFixture f;
        KeyerKeys keys(f.engine, f.entry);
        f.entry.call = QStringLiteral("SP1ABC");
        f.entry.received = QStringLiteral("KRA");
        QVERIFY(keys.keyPressed(Qt::Key_F11, Qt::NoModifier));
        QVERIFY(f.entry.call.isEmpty());
        QVERIFY(f.entry.received.isEmpty());
        QVERIFY(keys.keyPressed(Qt::Key_W, Qt::AltModifier));
        QVERIFY(keys.keyPressed(Qt::Key_W, Qt::ControlModifier | Qt::AltModifier));
        QVERIFY(!keys.keyPressed(Qt::Key_W, Qt::NoModifier));
        QCOMPARE(f.entry.clearCount, 3);
    }

    void escapeAndF12StopTheTransmission_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("F12") << int(Qt::Key_F12);
    }
    void escapeAndF12StopTheTransmission() {
        QFETCH(int, key);
        KeyerFixture f;
        KeyerKeys keys(f.engine, f.entry);
        f.time.at(100, [&] { QVERIFY(keys.keyPressed(key, Qt::NoModifier)); });
        f.engine.SendText(QStringLiteral("TEST TEST"));
        QCOMPARE(f.timeline.size(), 2); // the start pause and the first dash
        QVERIFY(!f.engine.txDown());
    }

    void escapeCancelsTheLoop() {
        KeyerFixture f;
        f.engine.buffers().set(1, {QStringLiteral("F1"), QStringLiteral("E<LOOP>"), {}, true});
        KeyerKeys keys(f.engine, f.entry);
        keys.keyPressed(Qt::Key_F1, Qt::NoModifier);
        QVERIFY(f.engine.loopArmed());
        keys.keyPressed(Qt::Key_Escape, Qt::NoModifier);
        QVERIFY(!f.engine.loopArmed());
    }

    void phoneModePlaysTheWavInstead() {
        KeyerFixture f;
        f.entry.modeValue = Mode::phone();
        KeyerKeys keys(f.engine, f.entry);
        keys.keyPressed(Qt::Key_F4, Qt::NoModifier);
        QCOMPARE(f.entry.wavBuffers, QList<int>{4});
        QVERIFY(f.timeline.isEmpty());
    }

    void clockTickDrivesTheLoop() {
        KeyerFixture f;
        f.engine.buffers().set(2, {QStringLiteral("F2"), QStringLiteral("E<LOOP>"), {}, true});
        KeyerKeys keys(f.engine, f.entry);
        keys.keyPressed(Qt::Key_F2, Qt::NoModifier);
        f.time.sleepUntil(std::chrono::milliseconds(1500));
        keys.clockTick();
        QCOMPARE(f.timeline.count(QStringLiteral("key 60")), 2);
    }
};

QTEST_GUILESS_MAIN(TestKeyerKeys)
#include "tst_keyerkeys.moc"
