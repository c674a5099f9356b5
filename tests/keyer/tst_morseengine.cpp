#include "keyerfixture.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QStringList lines(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* item : items)
        out << QString::fromLatin1(item);
    return out;
}

KeyerConfig lptConfig(bool ptt, int pttDelay = 100) {
    KeyerConfig c = KeyerFixture::directConfig();
    c.port = KeyingPort::Lpt;
    c.lptChoice = QStringLiteral("LPT1");
    c.ptt = ptt;
    c.pttDelayMs = pttDelay;
    return c;
}

} // namespace

class TestMorseEngine : public QObject {
    Q_OBJECT
private slots:
    void letterBlankLetterTimeline() {
        KeyerFixture f;
        QCOMPARE(f.engine.timing().dotLength, 60);
        f.engine.SendText(QStringLiteral("E E"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 60", "pause 180", "pause 180", "key 60", "pause 180"}));
        QCOMPARE(f.time.nowMs(), 50 + 60 + 180 + 180 + 60 + 180);
    }

    void elementsAndGapsOfALetter() {
        KeyerFixture f(KeyerFixture::directConfig(17));
        f.engine.SendText(QStringLiteral("Q"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 213", "pause 71", "key 213", "pause 71", "key 71", "pause 71",
                                    "key 213", "pause 213"}));
    }

    void textWithoutCodesTakesNoTime() {
        KeyerFixture f;
        f.engine.SendText(QStringLiteral("ĄŻ<>,"));
        QCOMPARE(f.timeline, lines({"pause 50"}));
        QVERIFY(f.port.events().isEmpty());
    }

    void nothingIsSentOutsideCw() {
        KeyerFixture f;
        f.entry.modeValue = Mode::phone();
        f.engine.SendText(QStringLiteral("E"));
        QVERIFY(f.timeline.isEmpty());
        QVERIFY(!f.engine.txDown());
    }

    void speedSteps_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("speeds");
        QTest::newRow("58 up caps at 60, down returns to 58") << 58 << "+-" << QList<int>{60, 58};
        QTest::newRow("55 up to 60, down to 55") << 55 << "+-" << QList<int>{60, 55};
        QTest::newRow("10 down stays at 10") << 10 << "-" << QList<int>{10};
        QTest::newRow("30 up twice then down") << 30 << "++-" << QList<int>{35, 40, 35};
    }
    void speedSteps() {
        QFETCH(int, start);
        QFETCH(QString, text);
        QFETCH(QList<int>, speeds);
        KeyerFixture f(KeyerFixture::directConfig(start));
        QList<int> seen;
        connect(&f.engine, &MorseEngine::speedChanged, this, [&](int wpm) { seen << wpm; });
        f.engine.SendText(text);
        // The steps, then the speed of before the transmission restored at its end.
        QCOMPARE(seen.mid(0, speeds.size()), speeds);
        QCOMPARE(f.engine.speed(), start);
    }

    void speedStepChangesElementLengths() {
        KeyerFixture f(KeyerFixture::directConfig(20));
        f.engine.SendText(QStringLiteral("E+E"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 60", "pause 180", "key 48", "pause 144"}));
        QCOMPARE(f.engine.timing().dotLength, 60);
    }

    // A speed key pressed while a character is keyed (from the window's thread) changes the next character; the
    // one on the air keeps the lengths it started with to its long gap.
    void speedChangeInTheMiddleOfACharacterWaitsForTheNext() {
        KeyerFixture f(KeyerFixture::directConfig(20));
        // Q = dash dash dot dash; the first dash runs from 50 to 230 ms.
        f.time.at(100, [&] { f.engine.changeSpeedBy(5); });
        f.engine.SendText(QStringLiteral("QE"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 180", "pause 60", "key 180", "pause 60", "key 60", "pause 60",
                                    "key 180", "pause 180", "key 48", "pause 144"}));
    }

    void speedKeyDuringTransmissionSurvivesItsEnd() {
        KeyerFixture f(KeyerFixture::directConfig(20));
        f.time.at(100, [&] { f.engine.changeSpeedBy(1); });
        f.engine.SendText(QStringLiteral("EEE"));
        QCOMPARE(f.engine.speed(), 21);
        QCOMPARE(f.engine.savedSpeed(), 21);
    }

    void stopDuringDashEndsAtTheElementWithPttReleased() {
        KeyerFixture f(lptConfig(true, 0));
        QSignalSpy finished(&f.engine, &MorseEngine::transmissionFinished);
        // Q = dash dash dot dash; the first dash runs from 50 to 230 ms.
        f.time.at(120, [&] { f.engine.StopSending(); });
        f.engine.SendText(QStringLiteral("Q TEST"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 180"}));
        // PTT on (8|5), key down (13&7), key up 13, then at rest: 8.
        QCOMPARE(f.port.lptWrites().mid(0, 3), (QList<int>{13, 5, 13}));
        QCOMPARE(f.port.lptRegister(), 8);
        QCOMPARE(f.port.events().last().ms(), 230);
        QVERIFY(f.engine.outgoingText().isEmpty());
        QVERIFY(!f.engine.txDown());
        QVERIFY(!f.engine.pttLit());
        QCOMPARE(finished.size(), 1);
    }

    void stopOnComReleasesBothLinesAfterTheElement() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.port = KeyingPort::Com;
        c.keyingOnRts = true;
        c.ptt = true;
        c.pttDelayMs = 0;
        KeyerFixture f(c);
        QVERIFY(f.port.open(QStringLiteral("COM1")).ok);
        f.time.at(70, [&] { f.engine.StopSending(); });
        f.engine.SendText(QStringLiteral("TT"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 180"}));
        QVERIFY(!f.port.rts());
        QVERIFY(!f.port.dtr());
    }

    void stopOnTheSenderThreadEndsAtTheElementWithPttReleased() {
        KeyerConfig c = lptConfig(true, 0);
        c.multithreaded = true;
        KeyerFixture f(c);
        QSignalSpy finished(&f.engine, &MorseEngine::transmissionFinished);
        // The stop arrives while the sender thread keys the second dash of the first O (290..470 ms).
        f.time.at(300, [&] { f.engine.StopSending(); });
        f.engine.SendText(QStringLiteral("OOO"));
        f.engine.waitForSender();
        QCOMPARE(f.timeline, lines({"pause 50", "key 180", "pause 60", "key 180"}));
        QCOMPARE(f.port.lptRegister(), 8);
        QCOMPARE(f.port.events().last().ms(), 470);
        QVERIFY(!f.engine.pttLit());
        QVERIFY(!f.engine.txDown());
        QVERIFY(f.engine.outgoingText().isEmpty());
        QCOMPARE(finished.size(), 1);
    }

    void emptyCallsignSendsNothingAndContinues() {
        KeyerFixture f;
        f.engine.SendText(QStringLiteral("$E"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 60", "pause 180"}));
    }

    void callsignIsReadAgainBeforeEachCharacter() {
        KeyerFixture f;
        f.entry.call = QStringLiteral("EE");
        // Edited while the first E is keyed: the second character comes from the new text.
        f.time.at(60, [&] { f.entry.call = QStringLiteral("ET"); });
        f.engine.SendText(QStringLiteral("$"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 60", "pause 180", "key 180", "pause 180"}));
    }

    void callsignSkipsCharactersOutsideSlashToBackslash() {
        KeyerFixture f;
        f.entry.call = QStringLiteral("E-E");
        f.engine.SendText(QStringLiteral("$"));
        QCOMPARE(f.timeline.count(QStringLiteral("key 60")), 2);
        QVERIFY(!f.timeline.contains(QStringLiteral("key 48"))); // "-" did not step the speed
    }

    void bufferKeyDuringTransmissionAppends() {
        KeyerFixture f;
        f.engine.buffers().set(1, {QStringLiteral("F1"), QStringLiteral("E"), {}, false});
        f.engine.buffers().set(2, {QStringLiteral("F2"), QStringLiteral("T"), {}, false});
        QSignalSpy finished(&f.engine, &MorseEngine::transmissionFinished);
        f.time.at(60, [&] { f.engine.StartBuffer(2); });
        f.engine.SendText(QStringLiteral("EE"));
        QCOMPARE(f.timeline, lines({"pause 50", "key 60", "pause 180", "key 60", "pause 180", "pause 180", "key 180",
                                    "pause 180"}));
        QCOMPARE(finished.size(), 1);
    }

    void sentTextShowsLast38CharactersRightAligned() {
        KeyerFixture f;
        QString sent;
        connect(&f.engine, &MorseEngine::sentChanged, this, [&](const QString& t) { sent = t; });
        f.engine.SendText(QStringLiteral("TEST"));
        QCOMPARE(sent, QString(34, u' ') + QStringLiteral("TEST"));
        f.engine.SendText(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/=?"));
        QCOMPARE(sent.size(), 38);
        QCOMPARE(sent, QStringLiteral("BCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/=?"));
    }

    void endOfTransmissionClearsFullDigitsButStopKeepsIt() {
        KeyerFixture f;
        f.engine.setFullDigitsOnce(true);
        f.time.at(70, [&] { f.engine.StopSending(); });
        f.engine.SendText(QStringLiteral("EE"));
        QVERIFY(f.engine.fullDigitsOnce());
        f.engine.SendText(QStringLiteral("E"));
        QVERIFY(!f.engine.fullDigitsOnce());
        QVERIFY(f.engine.sendAbort());
    }

    void saveQsoControlRunsAddQso() {
        KeyerFixture f;
        f.engine.SendText(QStringLiteral("E*"));
        QCOMPARE(f.entry.addQsoCount, 1);
    }

    void prefillTakesTheExchangeFromCallInfo_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("locator") << int(AnalysisMode::Locator) << "JO82LJ";
        QTest::newRow("province and county") << int(AnalysisMode::ProvinceCounty) << "FWA";
        QTest::newRow("two-letter county") << int(AnalysisMode::County) << "WA";
    }
    void prefillTakesTheExchangeFromCallInfo() {
        QFETCH(int, mode);
        QFETCH(QString, expected);
        KeyerFixture f;
        f.entry.call = QStringLiteral("SP1ABC");
        f.entry.options.enabled = true;
        f.entry.options.mode = AnalysisMode(mode);
        f.entry.calls = QStringList{QStringLiteral("SP1ABC")};
        f.entry.infos = QStringList{QStringLiteral("SP1ABC;FWA;JO82LJ")};
        f.engine.SendText(QString(QChar(0xA0)));
        QCOMPARE(f.entry.received, expected);
        QCOMPARE(f.entry.focused, QStringLiteral("receivedExchangeEdit"));
    }

    void prefillOnlyMovesFocusWhenExchangeTyped() {
        KeyerFixture f;
        f.entry.call = QStringLiteral("SP1ABC");
        f.entry.received = QStringLiteral("KRK");
        f.entry.options.enabled = true;
        f.entry.calls = QStringList{QStringLiteral("SP1ABC")};
        f.entry.infos = QStringList{QStringLiteral("SP1ABC;FWA;JO82LJ")};
        f.engine.SendText(QString(QChar(0xA0)));
        QCOMPARE(f.entry.received, QStringLiteral("KRK"));
        QCOMPARE(f.entry.focused, QStringLiteral("receivedExchangeEdit"));
    }

    void prefillDoesNothingWithoutCallFocus() {
        KeyerFixture f;
        f.entry.call = QStringLiteral("SP1ABC");
        f.entry.options.enabled = true;
        f.entry.calls = QStringList{QStringLiteral("SP1ABC")};
        f.entry.infos = QStringList{QStringLiteral("SP1ABC;FWA;JO82LJ")};
        f.entry.callFocused = false;
        f.entry.focused = QStringLiteral("sentSerialEdit");
        f.engine.SendText(QString(QChar(0xA0)));
        // The exchange is known, so only the focus check keeps it out of the field.
        QCOMPARE(f.entry.received, QString());
        QCOMPARE(f.entry.focused, QStringLiteral("sentSerialEdit"));
    }

    void lptWithoutPttKeysOneAndNine() {
        KeyerFixture f(lptConfig(false));
        f.engine.SendText(QStringLiteral("E"));
        QCOMPARE(f.port.lptWrites(), (QList<int>{1, 9, 8}));
        QCOMPARE(f.port.lptAddress(), 0x37A);
        QCOMPARE(f.lptTimes().mid(0, 2), (QList<qint64>{50, 110}));
    }

    void lptWithPttRaisesPttThenDelayThenKeys() {
        KeyerFixture f(lptConfig(true, 100));
        f.engine.SendText(QStringLiteral("E"));
        // PttOn 13 at 0; 100 ms delay + 50 ms; dot 5 .. 13; end: 8 (rest) and 8 (PttOff).
        QCOMPARE(f.port.lptWrites(), (QList<int>{13, 5, 13, 8, 8}));
        QCOMPARE(f.lptTimes(), (QList<qint64>{0, 150, 210, 390, 390}));
        QCOMPARE(f.timeline, lines({"pause 100", "pause 50", "key 60", "pause 180"}));
    }

    void pttDelayZeroDoesNotWait() {
        KeyerFixture f(lptConfig(true, 0));
        f.engine.SendText(QStringLiteral("E"));
        QCOMPARE(f.timeline.first(), QStringLiteral("pause 50"));
    }

    void comKeyingOnRtsUsesDtrForPtt() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.port = KeyingPort::Com;
        c.keyingOnRts = true;
        c.ptt = true;
        c.pttDelayMs = 0;
        KeyerFixture f(c);
        QVERIFY(f.port.open(QStringLiteral("COM1")).ok);
        f.engine.SendText(QStringLiteral("E"));
        QList<QPair<int, int>> changes;
        for (const RecordingPort::Event& e : f.port.events())
            if (e.kind == RecordingPort::Kind::Rts || e.kind == RecordingPort::Kind::Dtr)
                changes << qMakePair(int(e.kind), e.value);
        const int rts = int(RecordingPort::Kind::Rts);
        const int dtr = int(RecordingPort::Kind::Dtr);
        QCOMPARE(changes, (QList<QPair<int, int>>{{dtr, 1}, {rts, 1}, {rts, 0}, {dtr, 0}, {rts, 0}}));
    }

    void closedSerialPortIgnoresLineChanges() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.port = KeyingPort::Com;
        KeyerFixture f(c);
        f.engine.SendText(QStringLiteral("E"));
        QVERIFY(f.port.events().isEmpty());
        QCOMPARE(f.timeline, lines({"pause 50", "key 60", "pause 180"}));
    }

    void sidetoneSoundsExactlyTheElement() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.sidetone = true;
        c.toneHz = 650;
        c.volume = 35;
        KeyerFixture f(c);
        f.engine.SendText(QStringLiteral("A"));
        QList<qint64> on, off;
        for (const RecordingPort::Event& e : f.port.events()) {
            if (e.kind == RecordingPort::Kind::ToneOn) {
                on << e.ms();
                QCOMPARE(e.value, 650);
            } else if (e.kind == RecordingPort::Kind::ToneOff) {
                off << e.ms();
            }
        }
        QCOMPARE(on, (QList<qint64>{50, 170}));
        QCOMPARE(off, (QList<qint64>{110, 350}));
        QCOMPARE(f.port.toneVolume(), 35);
        QCOMPARE(f.time.nowMs(), 50 + 60 + 60 + 180 + 180);
    }

    void failedKeyUpIsRetriedAndNeverLeavesTheKeyPressed() {
        KeyerFixture f(lptConfig(true, 0));
        // PTT on and key down succeed; the next two writes (key up) fail.
        f.time.at(60, [&] { f.port.failNextWrites(2); });
        f.engine.SendText(QStringLiteral("EE"));
        QCOMPARE(f.port.failedWrites(), 2);
        QCOMPARE(f.port.lptRegister(), 8);
        QVERIFY(!f.engine.txDown());
    }

    void keyUpThatKeepsFailingEndsTheTransmissionAtRest() {
        KeyerFixture f(lptConfig(true, 0));
        // Every key-up attempt fails; only the final rest write gets through.
        f.time.at(60, [&] { f.port.failNextWrites(3); });
        f.engine.SendText(QStringLiteral("EEEE"));
        QVERIFY(f.engine.keyingFailed());
        QCOMPARE(f.timeline.count(QStringLiteral("key 60")), 1);
        QCOMPARE(f.port.lptRegister(), 8);
        QVERIFY(!f.engine.txDown());
        QVERIFY(!f.engine.pttLit());
        QVERIFY(f.engine.outgoingText().isEmpty());
    }

    void failedKeyDownStopsAndReleasesPtt() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.port = KeyingPort::Com;
        c.ptt = true;
        c.pttDelayMs = 0;
        KeyerFixture f(c);
        QVERIFY(f.port.open(QStringLiteral("COM1")).ok);
        f.time.at(10, [&] { f.port.failNextWrites(1); });
        f.engine.SendText(QStringLiteral("EE"));
        QVERIFY(f.engine.keyingFailed());
        QVERIFY(!f.port.rts());
        QVERIFY(!f.port.dtr());
        QVERIFY(!f.engine.txDown());
    }

    void failedPttOnEndsTheTransmissionAndTheNextOneSends() {
        KeyerFixture f(lptConfig(true, 0));
        // The PTT write fails; the port is brought to rest and nothing is keyed.
        f.port.failNextWrites(1);
        f.engine.SendText(QStringLiteral("EE"));
        QVERIFY(f.engine.keyingFailed());
        QCOMPARE(f.timeline.count(QStringLiteral("key 60")), 0);
        QVERIFY(!f.engine.txDown());
        QVERIFY(!f.engine.pttLit());
        QVERIFY(f.engine.outgoingText().isEmpty());
        QCOMPARE(f.port.lptRegister(), 8);
        // The keyer is not left waiting behind the failed text.
        MessageBuffer buffer;
        buffer.text = QStringLiteral("E");
        f.engine.buffers().set(1, buffer);
        f.engine.StartBuffer(1);
        QCOMPARE(f.timeline.count(QStringLiteral("key 60")), 1);
        QVERIFY(!f.engine.keyingFailed());
        QCOMPARE(f.port.lptRegister(), 8);
    }

    void threadedSenderKeysTheSameTimeline() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.multithreaded = true;
        KeyerFixture f(c);
        QStringList outgoing;
        connect(&f.engine, &MorseEngine::outgoingChanged, this, [&](const QString& t) { outgoing << t; });
        QSignalSpy finished(&f.engine, &MorseEngine::transmissionFinished);
        f.engine.SendText(QStringLiteral("E E"));
        f.engine.waitForSender();
        QCOMPARE(finished.size(), 1);
        QCOMPARE(f.timeline, lines({"pause 50", "key 60", "pause 180", "pause 180", "key 60", "pause 180"}));
        QVERIFY(!f.engine.txDown());
        // Display updates arrive through the window thread's event queue.
        QTRY_VERIFY(!outgoing.isEmpty() && outgoing.last().isEmpty());
    }

    void threadedSenderRunsControlActionsOnTheWindowThread() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.multithreaded = true;
        KeyerFixture f(c);
        QSignalSpy finished(&f.engine, &MorseEngine::transmissionFinished);
        f.engine.SendText(QStringLiteral("E*"));
        f.engine.waitForSender();
        QCOMPARE(finished.size(), 1);
        QTRY_COMPARE(f.entry.addQsoCount, 1);
    }

    void secondTransmissionWaitsForTheRunningSender() {
        KeyerConfig c = lptConfig(false);
        c.multithreaded = true;
        KeyerFixture f(c);
        f.engine.SendText(QStringLiteral("EEEEEEEE"));
        f.engine.SendText(QStringLiteral("T"));
        f.engine.waitForSender();
        QCOMPARE(f.timeline.count(QStringLiteral("key 60")), 8);
        QCOMPARE(f.timeline.last(), QStringLiteral("pause 180"));
        QCOMPARE(f.timeline.at(f.timeline.size() - 2), QStringLiteral("key 180"));
        // Key-downs (1) and key-ups (9) alternate: no two senders ever keyed at once.
        QList<int> keying = f.port.lptWrites();
        keying.removeAll(8);
        for (qsizetype i = 0; i < keying.size(); ++i)
            QCOMPARE(keying.at(i), i % 2 == 0 ? 1 : 9);
        QCOMPARE(keying.size(), 18);
    }

    void loopRestartsAfterTheDelay() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.loopDelaySeconds = 5;
        KeyerFixture f(c);
        f.engine.buffers().set(1, {QStringLiteral("F1"), QStringLiteral("E<LOOP>"), {}, true});
        QSignalSpy finished(&f.engine, &MorseEngine::transmissionFinished);
        f.engine.StartBuffer(1);
        QVERIFY(f.engine.loopArmed());
        const qint64 armedAt = f.time.nowMs() - 0; // "&" is the last character: armed at the end
        qint64 restartedAt = -1;
        for (qint64 tick = 500; tick <= 8000 && restartedAt < 0; tick += 500) {
            f.time.sleepUntil(std::chrono::milliseconds(tick));
            f.engine.clockTick();
            if (finished.size() == 2)
                restartedAt = tick;
        }
        QVERIFY(armedAt > 0);
        // Armed at 290 ms: five whole seconds have passed at the tick of 5500 ms.
        QCOMPARE(armedAt, 290);
        QCOMPARE(restartedAt, 5500);
    }

    void typingACallsignCancelsTheLoop() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.loopDelaySeconds = 5;
        KeyerFixture f(c);
        f.engine.buffers().set(1, {QStringLiteral("F1"), QStringLiteral("E<LOOP>"), {}, true});
        QList<bool> label;
        connect(&f.engine, &MorseEngine::loopLabelChanged, this, [&](bool v) { label << v; });
        f.engine.StartBuffer(1);
        f.engine.callsignChanged(QStringLiteral("S"));
        f.time.sleepUntil(std::chrono::seconds(10));
        f.engine.clockTick();
        QVERIFY(!f.engine.loopArmed());
        QCOMPARE(label.last(), false);
        QCOMPARE(f.timeline.count(QStringLiteral("key 60")), 1);
    }

    void callsignTypedDuringLoopedMessageStopsIt() {
        KeyerFixture f;
        f.engine.buffers().set(1, {QStringLiteral("F1"), QStringLiteral("CQ TEST <LOOP>"), {}, true});
        f.time.at(300, [&] { f.engine.callsignChanged(QStringLiteral("SP")); });
        f.engine.StartBuffer(1);
        QVERIFY(f.timeline.size() < 10);
        QVERIFY(!f.engine.txDown());
    }

    void sendCharKeysOneCharacterOnTheCallersThread() {
        KeyerFixture f;
        f.engine.SendChar(QChar(u'n'));
        QCOMPARE(f.timeline, lines({"key 180", "pause 60", "key 60", "pause 180"}));
    }
};

QTEST_GUILESS_MAIN(TestMorseEngine)
#include "tst_morseengine.moc"
