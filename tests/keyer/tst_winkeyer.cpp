#include "keyer/winkeyerkeyer.h"
#include "keyer/winkeyerprotocol.h"
#include "serialportstream.h"
#include "winkeyeremulator.h"

#include <QElapsedTimer>
#include <QTest>

#include <memory>

using namespace Winkeyer;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// The keyer's events, collected from the stream's thread.
struct Heard {
    std::mutex mutex;
    QString sent;
    int breakIns = 0;
    QList<int> speeds;
    QStringList failures;

    template <typename F> auto locked(F f) -> decltype(f()) {
        std::lock_guard lock(mutex);
        return f();
    }
    void attach(TextKeyer& keyer) {
        keyer.sent = [this](QChar c) { locked([&] { sent += c; }); };
        keyer.breakIn = [this] { locked([&] { ++breakIns; }); };
        keyer.speedPotChanged = [this](int wpm) { locked([&] { speeds.append(wpm); }); };
        keyer.failed = [this](const QString& text) { locked([&] { failures.append(text); }); };
    }
    QString sentText() {
        return locked([&] { return sent; });
    }
    int breakInCount() {
        return locked([&] { return breakIns; });
    }
    QList<int> speedList() {
        return locked([&] { return speeds; });
    }
    QStringList failureList() {
        return locked([&] { return failures; });
    }
};

// A Winkeyer emulator behind a pseudo-terminal, opened by the keyer through the real serial port code.
struct Station {
    WinkeyerEmulator chip;
    SerialPortStream stream;
    std::unique_ptr<WinkeyerKeyer> keyer;
    Heard heard;

    explicit Station(int capacity = 128, int xoffThreshold = 85) : chip(capacity, xoffThreshold) {}
    bool start() {
        if (!chip.start())
            return false;
        keyer = std::make_unique<WinkeyerKeyer>(&stream, chip.portName());
        heard.attach(*keyer);
        return true;
    }
    // Every byte the chip sent before now has been read by the keyer: a status it must see comes back last.
    bool settled() {
        chip.forceXoff(true);
        const bool seen = QTest::qWaitFor([&] { return (keyer->status() & Xoff) != 0; }, 5000);
        chip.forceXoff(false);
        return seen && QTest::qWaitFor([&] { return (keyer->status() & Xoff) == 0; }, 5000);
    }
};

#define START_STATION(station)                                                                                         \
    if (!(station).start())                                                                                            \
    QSKIP("no pseudo-terminal on this machine")

} // namespace

class TestWinkeyer : public QObject {
    Q_OBJECT
private slots:
    void settingsMapToClampedRegisters_data() {
        QTest::addColumn<TextKeyerSettings>("settings");
        QTest::addColumn<QByteArray>("expected"); // speed weighting ratio lead tail sidetone pins
        auto with = [](auto change) {
            TextKeyerSettings s;
            change(s);
            return s;
        };
        QTest::newRow("defaults") << TextKeyerSettings{} << hex("1e32320000050a");
        QTest::newRow("speed below the chip's floor") << with([](auto& s) { s.wpm = 2; }) << hex("0532320000050a");
        QTest::newRow("speed above the chip's ceiling") << with([](auto& s) { s.wpm = 150; }) << hex("6332320000050a");
        QTest::newRow("long dash") << with([](auto& s) { s.dashRatio = 36; }) << hex("1e323c0000050a");
        QTest::newRow("dash beyond the chip") << with([](auto& s) { s.dashRatio = 50; }) << hex("1e32420000050a");
        QTest::newRow("short dash clamped") << with([](auto& s) { s.dashRatio = 10; }) << hex("1e32210000050a");
        QTest::newRow("wider gap lightens") << with([](auto& s) { s.gapRatio = 15; }) << hex("1e28320000050a");
        QTest::newRow("narrow gap weighs") << with([](auto& s) { s.gapRatio = 5; }) << hex("1e43320000050a");
        QTest::newRow("ptt with lead") << with([](auto& s) { s.ptt = true, s.pttLeadMs = 120; })
                                       << hex("1e32320c0c050b");
        QTest::newRow("ptt lead clamped")
            << with([](auto& s) { s.ptt = true, s.pttLeadMs = 9000; }) << hex("1e3232fafa050b");
        QTest::newRow("ptt off ignores lead") << with([](auto& s) { s.pttLeadMs = 300; }) << hex("1e32320000050a");
        QTest::newRow("sidetone off") << with([](auto& s) { s.sidetone = false; }) << hex("1e323200000508");
        QTest::newRow("low tone") << with([](auto& s) { s.toneHz = 400; }) << hex("1e323200000a0a");
        QTest::newRow("tone between codes") << with([](auto& s) { s.toneHz = 600; }) << hex("1e32320000070a");
        QTest::newRow("tone beyond the chip") << with([](auto& s) { s.toneHz = 9000; }) << hex("1e32320000010a");
    }
    void settingsMapToClampedRegisters() {
        QFETCH(TextKeyerSettings, settings);
        QFETCH(QByteArray, expected);
        const Registers r = registersFor(settings);
        const QByteArray got = QByteArray() + char(r.speed) + char(r.weighting) + char(r.ditDahRatio) +
                               char(r.pttLead) + char(r.pttTail) + char(r.sidetone) + char(r.pinConfig);
        QCOMPARE(got.toHex(), expected.toHex());
        QCOMPARE(r.mode & kModeSerialEcho, kModeSerialEcho);
        QCOMPARE(r.mode & kModePaddleEcho, 0);
    }

    void commandsEncode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("host open after nulls") << hostOpenSequence() << hex("1313130002");
        QTest::newRow("host close") << hostClose() << hex("0003");
        QTest::newRow("speed clamped") << setSpeed(0) << hex("0205");
        QTest::newRow("buffered speed") << bufferedSpeed(42) << hex("1c2a");
        QTest::newRow("clear buffer") << clearBuffer() << hex("0a");
        QTest::newRow("ptt on") << ptt(true) << hex("1801");
        QTest::newRow("key up") << keyImmediate(false) << hex("0b00");
        QTest::newRow("all registers") << configure(registersFor({})) << hex("0e04090a021e033217320400000105050a1e00");
    }
    void commandsEncode() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        QCOMPARE(bytes.toHex(), expected.toHex());
    }

    void incomingBytesDecode_data() {
        QTest::addColumn<bool>("afterHostOpen");
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QString>("expected"); // kind letter and value per event
        QTest::newRow("version then echo") << true << QList<QByteArray>{hex("1f41")} << "V31 E65";
        QTest::newRow("version split from status")
            << true << QList<QByteArray>{hex("c4"), hex("17"), hex("c0")} << "S4 V23 S0";
        QTest::newRow("status bits") << false << QList<QByteArray>{hex("c1c2c4c8d0")} << "S1 S2 S4 S8 S16";
        QTest::newRow("speed pot") << false << QList<QByteArray>{hex("8095bf")} << "P0 P21 P63";
        QTest::newRow("echo without version, control bytes dropped")
            << false << QList<QByteArray>{hex("1f20"), hex("3f")} << "E32 E63";
    }
    void incomingBytesDecode() {
        QFETCH(bool, afterHostOpen);
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QString, expected);
        Decoder decoder;
        if (afterHostOpen)
            decoder.expectVersion();
        QStringList got;
        for (const QByteArray& piece : pieces) {
            for (const Event& e : decoder.feed(piece))
                got << QStringLiteral("%1%2").arg(QString::fromLatin1("SPEV").at(e.kind)).arg(e.value);
        }
        QCOMPARE(got.join(u' '), expected);
    }

    // What is written to the chip and what is reported gone, for text and the echoes coming back.
    void textFlowKeepsOrderAndCount_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("echoes");
        QTest::addColumn<bool>("drain");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("reported");
        QTest::newRow("letters in order")
            << "CQ TEST" << QByteArray("CQ TEST") << false << QByteArray("CQ TEST") << "CQ TEST";
        QTest::newRow("lower case and backslash")
            << "sp\\1" << QByteArray("SP/1") << false << QByteArray("SP/1") << "sp\\1";
        QTest::newRow("unkeyable first goes at once") << "#AB" << QByteArray() << false << QByteArray("AB") << "#";
        QTest::newRow("unkeyable rides with the one before")
            << "A#B%" << QByteArray("AB") << false << QByteArray("AB") << "A#B%";
        QTest::newRow("skipped character counted with the next echo")
            << "ABC" << QByteArray("AC") << false << QByteArray("ABC") << "ABC";
        QTest::newRow("stray echo ignored") << "AB" << QByteArray("ZAB") << false << QByteArray("AB") << "AB";
        QTest::newRow("dropped tail drained") << "ABCD" << QByteArray("A") << true << QByteArray("ABCD") << "ABCD";
        QTest::newRow("no more than three in the chip") << "ABCDEF" << QByteArray() << false << QByteArray("ABC") << "";
        QTest::newRow("each echo lets one more in")
            << "ABCDEF" << QByteArray("AB") << false << QByteArray("ABCDE") << "AB";
    }
    void textFlowKeepsOrderAndCount() {
        QFETCH(QString, text);
        QFETCH(QByteArray, echoes);
        QFETCH(bool, drain);
        QFETCH(QByteArray, written);
        QFETCH(QString, reported);
        TextFlow flow(3);
        flow.append(text);
        QByteArray out;
        QString gone;
        const auto pump = [&] {
            const TextFlow::Step step = flow.pump(false);
            out += step.bytes;
            gone += step.sent;
        };
        pump();
        for (char e : echoes) {
            gone += flow.echo(e);
            pump();
        }
        if (drain) {
            gone += flow.drain();
            pump();
        }
        QCOMPARE(out, written);
        QCOMPARE(gone, reported);
    }

    void xoffHoldsTheQueue() {
        TextFlow flow(8);
        flow.append(QStringLiteral("AB"));
        QVERIFY(flow.pump(true).bytes.isEmpty());
        QCOMPARE(flow.pump(false).bytes, QByteArray("AB"));
    }

    void hostOpenReportsTheVersionAndConfigures() {
        Station station;
        START_STATION(station);
        const TextKeyerOpenResult result = station.keyer->open({});
        QVERIFY(result.ok);
        QCOMPARE(result.text, QStringLiteral("Winkeyer (wersja 31)"));
        QVERIFY(station.keyer->isOpen());
        QCOMPARE(station.keyer->version(), 31);
        QVERIFY(station.chip.hostOpen());
        QTRY_VERIFY(station.chip.indexOf(hex("0e04")) >= 0);
        QTRY_VERIFY(station.chip.indexOf(hex("021e")) > station.chip.indexOf(hex("0002")));

        station.keyer->close();
        // Written before close() returns; the chip reads them on its own thread.
        QTRY_VERIFY(!station.chip.hostOpen());
        const int clear = station.chip.indexOf(hex("0a"));
        QVERIFY(clear > 0);
        QVERIFY(station.chip.indexOf(hex("1800"), clear) > clear);
        QVERIFY(station.chip.indexOf(hex("0003"), clear) > station.chip.indexOf(hex("1800"), clear));
        QVERIFY(!station.chip.hostOpen());
        QVERIFY(!station.stream.isOpen());
    }

    void aSilentChipIsReportedAndThePortClosed() {
        Station station;
        START_STATION(station);
        station.chip.setSilent(true);
        QElapsedTimer clock;
        clock.start();
        const TextKeyerOpenResult result = station.keyer->open({});
        QVERIFY(!result.ok);
        QCOMPARE(result.text, QStringLiteral("Winkeyer nie odpowiada na porcie ") + station.chip.portName());
        QVERIFY(clock.elapsed() < 5000); // a hang would never come back
        QVERIFY(!station.keyer->isOpen());
        QVERIFY(!station.stream.isOpen());
    }

    // A long text through a small buffer: XOFF is obeyed, the buffer never overruns, every character is echoed
    // once and in order, and the count comes back to zero.
    void aLongTextPassesThroughASmallBuffer() {
        Station station(8, 5);
        START_STATION(station);
        QVERIFY(station.keyer->open({}).ok);
        QString text;
        for (int i = 0; i < 20; ++i)
            text += QStringLiteral("CQ TEST SP%1 ").arg(i);
        text += QStringLiteral("#END");
        station.chip.setAutoKey(1);
        station.keyer->send(text);
        QTRY_COMPARE_WITH_TIMEOUT(station.keyer->pending(), 0, 20000);
        QCOMPARE(station.heard.sentText(), text);
        QCOMPARE(station.chip.echoed(), text.toLatin1().replace("#", ""));
        QCOMPARE(station.chip.overruns(), 0);
        QVERIFY(station.chip.maxHeld() <= 8);
        QVERIFY(station.chip.xoffRaised() > 0);
    }

    void nothingIsWrittenWhileTheChipSaysXoff() {
        Station station;
        START_STATION(station);
        QVERIFY(station.keyer->open({}).ok);
        station.chip.forceXoff(true);
        QTRY_VERIFY(station.keyer->status() & Xoff);
        station.keyer->send(QStringLiteral("ABC"));
        station.keyer->setSpeed(25);
        QTRY_VERIFY(station.chip.indexOf(hex("0219")) >= 0);
        QVERIFY(station.chip.textReceived().isEmpty());
        station.chip.forceXoff(false);
        QTRY_COMPARE(station.chip.textReceived(), QByteArray("ABC"));
    }

    // An abort and the paddle both drop the text: the chip's buffer and our queue, and the count.
    void abortAndPaddleDropTheText_data() {
        QTest::addColumn<bool>("paddle");
        QTest::newRow("abort") << false;
        QTest::newRow("paddle break-in") << true;
    }
    void abortAndPaddleDropTheText() {
        QFETCH(bool, paddle);
        Station station;
        START_STATION(station);
        QVERIFY(station.keyer->open({}).ok);
        station.keyer->send(QStringLiteral("CQ CQ TEST SP9KVR SP9KVR TEST"));
        QTRY_COMPARE(station.chip.held(), kMaxInChip);
        station.chip.keyNext(2);
        QTRY_COMPARE(station.heard.sentText(), QStringLiteral("CQ"));
        if (paddle) {
            station.chip.touchPaddle();
            QTRY_COMPARE(station.heard.breakInCount(), 1);
        } else {
            station.keyer->abort();
            QTRY_VERIFY(station.chip.indexOf(clearBuffer()) >= 0);
            QCOMPARE(station.heard.breakInCount(), 0);
        }
        QCOMPARE(station.keyer->pending(), 0);
        QVERIFY(station.settled());
        QCOMPARE(station.chip.held(), 0);
        QCOMPARE(station.chip.textReceived().size(), kMaxInChip + 2);
        QCOMPARE(station.heard.sentText(), QStringLiteral("CQ"));

        station.keyer->send(QStringLiteral("K"));
        QTRY_COMPARE(station.chip.held(), 1);
        station.chip.keyNext(1);
        QTRY_COMPARE(station.heard.sentText(), QStringLiteral("CQK"));
        QCOMPARE(station.keyer->pending(), 0);
    }

    void speedChangesReachTheChip_data() {
        QTest::addColumn<bool>("followSpeedPot");
        QTest::newRow("knob followed") << true;
        QTest::newRow("knob ignored") << false;
    }
    void speedChangesReachTheChip() {
        QFETCH(bool, followSpeedPot);
        Station station;
        START_STATION(station);
        TextKeyerSettings settings;
        settings.followSpeedPot = followSpeedPot;
        QVERIFY(station.keyer->open(settings).ok);
        station.keyer->setSpeed(35);
        station.keyer->setSpeed(200);
        QTRY_VERIFY(station.chip.indexOf(hex("0263")) > station.chip.indexOf(hex("0223")));
        station.chip.turnSpeedPot(12);
        QVERIFY(station.settled());
        QCOMPARE(station.heard.speedList(), followSpeedPot ? QList<int>{kSpeedPotMin + 12} : QList<int>{});
        // The speed the knob gives is written to the chip too, on its way after the event.
        QTRY_COMPARE(station.chip.indexOf(hex("0216")) >= 0, followSpeedPot);
    }

    void anUnpluggedChipFailsWithoutHanging() {
        Station station;
        START_STATION(station);
        QVERIFY(station.keyer->open({}).ok);
        station.keyer->send(QStringLiteral("TEST"));
        QTRY_COMPARE(station.chip.held(), 4);
        station.chip.unplug();
        QTRY_COMPARE(station.heard.failureList().size(), 1);
        QVERIFY(station.heard.failureList().constFirst().startsWith(QStringLiteral("Winkeyer odłączony (")));
        QVERIFY(!station.keyer->isOpen());
        QCOMPARE(station.keyer->pending(), 0);
        // Text handed to a keyer that has gone is not counted as waiting for echoes that never come.
        station.keyer->send(QStringLiteral("AGN"));
        QCOMPARE(station.keyer->pending(), 0);
        QVERIFY(station.keyer->waitForPending(0, [] { return false; }));
        station.keyer->abort();
        station.keyer->close();
        QCOMPARE(station.heard.failureList().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestWinkeyer)
#include "tst_winkeyer.moc"
