#include "cwdaemonprocess.h"
#include "fakecwdaemon.h"
#include "keyer/cwdaemonkeyer.h"
#include "keyer/cwdaemonprotocol.h"
#include "udpdatagrams.h"

#include <QDeadlineTimer>
#include <QTest>

#include <atomic>
#include <memory>
#include <mutex>

namespace {

const QByteArray kEsc("\x1b");

// A keyer over real UDP with what it reports.
struct KeyerUnderTest {
    explicit KeyerUnderTest(const QString& address) : keyer(&datagrams, address) {
        keyer.sent = [this](QChar c) {
            std::lock_guard lock(mutex);
            sent += c;
        };
        keyer.failed = [this](const QString& text) {
            std::lock_guard lock(mutex);
            failures << text;
        };
    }
    QString sentText() {
        std::lock_guard lock(mutex);
        return sent;
    }
    QStringList failureTexts() {
        std::lock_guard lock(mutex);
        return failures;
    }
    // Hands the text over as the engine does, keeping at most two characters pending, then waits for the end.
    bool key(const QString& text, int timeoutMs = 10000) {
        const QDeadlineTimer deadline(timeoutMs);
        const auto late = [&] { return deadline.hasExpired(); };
        for (QChar c : text) {
            if (!keyer.waitForPending(1, late))
                return false;
            keyer.send(QString(c));
        }
        return keyer.waitForPending(0, late);
    }
    UdpDatagrams datagrams;
    CwdaemonKeyer keyer;
    std::mutex mutex;
    QString sent;
    QStringList failures;
};

TextKeyerSettings fastSettings() {
    TextKeyerSettings s;
    s.wpm = 60;
    return s;
}

} // namespace

// The real daemon on a free port, or the test is skipped where cwdaemon is not installed.
#define START_DAEMON(daemon)                                                                                           \
    do {                                                                                                               \
        QString reason;                                                                                                \
        if (!CwdaemonProcess::available(&reason))                                                                      \
            QSKIP(qPrintable(reason));                                                                                 \
        QVERIFY((daemon).start());                                                                                     \
    } while (false)

class TestCwdaemon : public QObject {
    Q_OBJECT
private slots:
    void requestEncoding_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("speed") << Cwdaemon::speed(32) << kEsc + "232";
        QTest::newRow("speed below the daemon's 4 wpm") << Cwdaemon::speed(2) << kEsc + "24";
        QTest::newRow("speed above 60 wpm") << Cwdaemon::speed(99) << kEsc + "260";
        QTest::newRow("weighting below -50") << Cwdaemon::weighting(-70) << kEsc + "7-50";
        QTest::newRow("tone 0 silences") << Cwdaemon::tone(0) << kEsc + "30";
        QTest::newRow("tone above 4000 Hz") << Cwdaemon::tone(5000) << kEsc + "34000";
        QTest::newRow("PTT on") << Cwdaemon::ptt(true) << kEsc + "a1";
        QTest::newRow("PTT delay clipped to 50 ms") << Cwdaemon::pttDelay(120) << kEsc + "d50";
        QTest::newRow("negative PTT delay is none") << Cwdaemon::pttDelay(-5) << kEsc + "d0";
        QTest::newRow("tune longer than 10 s") << Cwdaemon::tune(30) << kEsc + "c10";
        QTest::newRow("abort") << Cwdaemon::abort() << kEsc + "4";
        QTest::newRow("reset") << Cwdaemon::reset() << kEsc + "0";
        QTest::newRow("reply request") << Cwdaemon::replyRequest("a1-7") << kEsc + "ha1-7";
    }
    void requestEncoding() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, expected);
        QCOMPARE(request, expected);
    }

    void settingsBecomeRequests_data() {
        QTest::addColumn<int>("wpm");
        QTest::addColumn<int>("dash");
        QTest::addColumn<int>("gap");
        QTest::addColumn<bool>("ptt");
        QTest::addColumn<int>("lead");
        QTest::addColumn<bool>("sidetone");
        QTest::addColumn<int>("tone");
        QTest::addColumn<QString>("expected"); // the requests without <ESC>, blank separated
        QTest::newRow("defaults") << 30 << 30 << 10 << false << 100 << true << 800 << "230 70 3800 d0";
        QTest::newRow("longer dash weighs more") << 25 << 36 << 10 << false << 0 << true << 600 << "225 710 3600 d0";
        QTest::newRow("shorter gap weighs more") << 25 << 30 << 8 << false << 0 << true << 600 << "225 710 3600 d0";
        QTest::newRow("light keying") << 25 << 24 << 12 << false << 0 << true << 600 << "225 7-20 3600 d0";
        QTest::newRow("weighting clipped to 50") << 25 << 60 << 0 << false << 0 << true << 600 << "225 750 3600 d0";
        QTest::newRow("sidetone off is tone 0") << 25 << 30 << 10 << false << 0 << false << 600 << "225 70 30 d0";
        QTest::newRow("sidetone on without a pitch") << 25 << 30 << 10 << false << 0 << true << 0 << "225 70 3800 d0";
        QTest::newRow("PTT lead clipped to 50 ms") << 25 << 30 << 10 << true << 300 << true << 600 << "225 70 3600 d50";
        QTest::newRow("PTT without lead still keys PTT")
            << 25 << 30 << 10 << true << 0 << true << 600 << "225 70 3600 d1";
        QTest::newRow("speed above the daemon's range")
            << 80 << 30 << 10 << false << 0 << true << 600 << "260 70 3600 d0";
    }
    void settingsBecomeRequests() {
        QFETCH(int, wpm);
        QFETCH(int, dash);
        QFETCH(int, gap);
        QFETCH(bool, ptt);
        QFETCH(int, lead);
        QFETCH(bool, sidetone);
        QFETCH(int, tone);
        QFETCH(QString, expected);
        TextKeyerSettings s;
        s.wpm = wpm;
        s.dashRatio = dash;
        s.gapRatio = gap;
        s.ptt = ptt;
        s.pttLeadMs = lead;
        s.sidetone = sidetone;
        s.toneHz = tone;
        QStringList requests;
        for (const QByteArray& r : Cwdaemon::settingsRequests(s)) {
            QVERIFY(r.startsWith(kEsc));
            requests << QString::fromLatin1(r.mid(1));
        }
        QCOMPARE(requests.join(u' '), expected);
    }

    void addressAndReplyReading_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected"); // host:port, or "invalid"
        QTest::newRow("blank is the local daemon") << ""
                                                   << "localhost:6789";
        QTest::newRow("host alone takes the default port") << "radio-pc"
                                                           << "radio-pc:6789";
        QTest::newRow("host and port") << " 192.168.1.5:7000 "
                                       << "192.168.1.5:7000";
        QTest::newRow("bracketed IPv6 with port") << "[::1]:6790"
                                                  << "::1:6790";
        QTest::newRow("port 0") << "localhost:0"
                                << "invalid";
        QTest::newRow("port not a number") << "localhost:x"
                                           << "invalid";
        QTest::newRow("no host") << ":6789"
                                 << "invalid";
    }
    void addressAndReplyReading() {
        QFETCH(QString, address);
        QFETCH(QString, expected);
        const Cwdaemon::Address a = Cwdaemon::parseAddress(address);
        QCOMPARE(a.ok ? a.text() : QStringLiteral("invalid"), expected);
    }

    void replyReading_data() {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QByteArray>("token"); // null: not a reply
        QTest::newRow("token with CR LF") << QByteArray("hab-12\r\n") << QByteArray("ab-12");
        QTest::newRow("empty token") << QByteArray("h\r\n") << QByteArray("");
        QTest::newRow("without line end") << QByteArray("hx") << QByteArray("x");
        QTest::newRow("not a reply") << QByteArray("x\r\n") << QByteArray();
    }
    void replyReading() {
        QFETCH(QByteArray, datagram);
        QFETCH(QByteArray, token);
        const std::optional<QByteArray> read = Cwdaemon::replyToken(datagram);
        QCOMPARE(read.has_value(), !token.isNull());
        if (read)
            QCOMPARE(*read, token);
    }

    void openProbesThenResetsAndApplies() {
        FakeCwdaemon fake;
        KeyerUnderTest k(fake.address());
        const TextKeyerOpenResult opened = k.keyer.open(TextKeyerSettings());
        QVERIFY2(opened.ok, qPrintable(opened.text));
        QVERIFY(fake.waitForCount(9));
        const QList<QByteArray> expected = {kEsc + "4",   kEsc + "260", kEsc + "h<token>", " ",        kEsc + "0",
                                            kEsc + "230", kEsc + "70",  kEsc + "3800",     kEsc + "d0"};
        QCOMPARE(fake.datagrams(), expected);
        QVERIFY(k.failureTexts().isEmpty());
    }

    void callsBecomeDatagrams_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::newRow("speed") << "speed 45" << QList<QByteArray>{kEsc + "245"};
        QTest::newRow("abort") << "abort" << QList<QByteArray>{kEsc + "4"};
        QTest::newRow("PTT on") << "ptt on" << QList<QByteArray>{kEsc + "a1"};
        QTest::newRow("PTT off") << "ptt off" << QList<QByteArray>{kEsc + "a0"};
        QTest::newRow("tune on") << "tune on" << QList<QByteArray>{kEsc + "c10"};
        QTest::newRow("tune off drops the carrier") << "tune off" << QList<QByteArray>{kEsc + "4"};
        QTest::newRow("tone and weighting")
            << "configure" << QList<QByteArray>{kEsc + "235", kEsc + "720", kEsc + "30", kEsc + "d0"};
        QTest::newRow("text") << "send CQ TEST" << QList<QByteArray>{kEsc + "h<token>", "CQ TEST"};
        QTest::newRow("controls and unknown characters left out")
            << "send a+b-c~d.E?" << QList<QByteArray>{kEsc + "h<token>", "ABCDE?"};
        QTest::newRow("backslash keys as slash") << "send SP5\\P" << QList<QByteArray>{kEsc + "h<token>", "SP5/P"};
        QTest::newRow("long text in pieces")
            << QStringLiteral("send ") + QString(250, u'E')
            << QList<QByteArray>{kEsc + "h<token>", QByteArray(200, 'E'), kEsc + "h<token>", QByteArray(50, 'E')};
    }
    void callsBecomeDatagrams() {
        QFETCH(QString, call);
        QFETCH(QList<QByteArray>, expected);
        FakeCwdaemon fake;
        KeyerUnderTest k(fake.address());
        QVERIFY(k.keyer.open(TextKeyerSettings()).ok);
        QVERIFY(fake.waitForCount(9));
        fake.clear();
        const QString argument = call.section(u' ', 1);
        if (call.startsWith(QLatin1String("speed"))) {
            k.keyer.setSpeed(argument.toInt());
        } else if (call == QLatin1String("abort")) {
            k.keyer.abort();
        } else if (call.startsWith(QLatin1String("ptt"))) {
            k.keyer.setPtt(argument == QLatin1String("on"));
        } else if (call == QLatin1String("tune on")) {
            k.keyer.setTune(true);
        } else if (call == QLatin1String("tune off")) {
            k.keyer.setTune(false);
        } else if (call == QLatin1String("configure")) {
            TextKeyerSettings s;
            s.wpm = 35;
            s.dashRatio = 33;
            s.gapRatio = 7;
            s.sidetone = false;
            k.keyer.configure(s);
        } else {
            k.keyer.send(argument);
            // The fake answers at once: everything handed over is reported sent, in order, left-out ones included.
            QTRY_COMPARE(k.sentText(), argument.toUpper());
            QCOMPARE(k.keyer.pending(), 0);
        }
        QVERIFY(fake.waitForCount(int(expected.size())));
        QCOMPARE(fake.datagrams(), expected);
    }

    // Nothing listening (the port refused) and a peer that never answers: open() says so once, and fails.
    void daemonNotAnsweringIsReportedOnce_data() {
        QTest::addColumn<bool>("listening");
        QTest::newRow("nothing listens") << false;
        QTest::newRow("peer never replies") << true;
    }
    void daemonNotAnsweringIsReportedOnce() {
        QFETCH(bool, listening);
        auto fake = std::make_unique<FakeCwdaemon>();
        fake->setAnswering(false);
        const QString address = fake->address();
        if (!listening)
            fake.reset();
        KeyerUnderTest k(address);
        const TextKeyerOpenResult opened = k.keyer.open(fastSettings());
        const QString expected = QStringLiteral("cwdaemon nie odpowiada (%1)").arg(address);
        QVERIFY(!opened.ok);
        QCOMPARE(opened.text, expected);
        QCOMPARE(k.failureTexts(), QStringList{expected});
        QVERIFY(!k.keyer.isOpen());
        // Text handed to a keyer that did not open is dropped, and the sender is not kept waiting.
        k.keyer.send(QStringLiteral("TEST"));
        QCOMPARE(k.keyer.pending(), 0);
        QVERIFY(!k.keyer.waitForPending(-1, [] { return false; }));
        QCOMPARE(k.failureTexts().size(), 1);
    }

    void realDaemonKeysTheTextToTheEnd() {
        CwdaemonProcess daemon;
        START_DAEMON(daemon);
        KeyerUnderTest k(daemon.address());
        QVERIFY(k.keyer.open(fastSettings()).ok);
        const QString text = QStringLiteral("CQ TEST SP5ABC");
        QVERIFY(k.key(text));
        // pending() drops just before `sent` is told.
        QTRY_COMPARE(k.sentText(), text);
        QCOMPARE(k.keyer.pending(), 0);
        // The end came with the daemon's reply: by then it had queued every character.
        QCOMPARE(daemon.keyedText().remove(u' '), QString(text).remove(u' '));
        QVERIFY(k.failureTexts().isEmpty());
    }

    void abortMidTextEndsIt() {
        CwdaemonProcess daemon;
        START_DAEMON(daemon);
        KeyerUnderTest k(daemon.address());
        TextKeyerSettings slow;
        slow.wpm = 20;
        QVERIFY(k.keyer.open(slow).ok);
        k.keyer.send(QStringLiteral("PARIS PARIS PARIS"));
        QTRY_VERIFY_WITH_TIMEOUT(!k.sentText().isEmpty(), 10000);
        k.keyer.abort();
        QCOMPARE(k.keyer.pending(), 0);
        const QString sentAtAbort = k.sentText();
        QTRY_VERIFY(daemon.output().contains(QLatin1String("requested aborting of message")));
        // The aborted text's reply, if the daemon still sends one, does not count for the next text.
        QVERIFY(k.key(QStringLiteral("E")));
        QTRY_COMPARE(k.sentText(), sentAtAbort + u'E');
        QVERIFY(k.failureTexts().isEmpty());
    }

    void stoppedDaemonIsReportedOnceAndNothingBlocks() {
        CwdaemonProcess daemon;
        START_DAEMON(daemon);
        KeyerUnderTest k(daemon.address());
        QVERIFY(k.keyer.open(fastSettings()).ok);
        daemon.kill();
        const QString expected = QStringLiteral("cwdaemon nie odpowiada (%1)").arg(daemon.address());
        k.keyer.send(QStringLiteral("TEST"));
        // The waiting sender is let go: the characters did not go out.
        QDeadlineTimer deadline(5000);
        k.keyer.waitForPending(0, [&] { return deadline.hasExpired(); });
        QVERIFY(!deadline.hasExpired());
        QTRY_COMPARE(k.failureTexts(), QStringList{expected});
        QVERIFY(k.sentText().isEmpty());
        k.keyer.send(QStringLiteral("TEST"));
        deadline.setRemainingTime(5000);
        k.keyer.waitForPending(0, [&] { return deadline.hasExpired(); });
        QVERIFY(!deadline.hasExpired());
        QCOMPARE(k.failureTexts(), QStringList{expected});
        QVERIFY(k.keyer.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestCwdaemon)
#include "tst_cwdaemon.moc"
