#include "keyer/senderscheduling.h"
#include "keyerfixture.h"

#include <QTest>

using namespace std::chrono_literals;
using Ns = KeyerTime::Nanoseconds;
using Outcome = HybridWait::Outcome;

namespace {

// Virtual time for the hybrid wait: a sleep wakes its lateness after its target, a turn of the wait on the clock
// costs 20 µs, the first one the stall on top.
struct ScriptedClock final : HybridWait::Clock {
    Ns now() override { return at; }
    void sleepUntil(Ns deadline) override {
        sleptTo = deadline;
        at = std::max(at, deadline + lateness);
    }
    void spin() override {
        at += 20us + std::exchange(stall, Ns(0));
        ++spins;
    }
    Ns at = 1s, lateness{0}, stall{0};
    std::optional<Ns> sleptTo;
    int spins = 0;
};

// RealtimeKit and the thread's own system calls, answering as scripted and logging every request in order.
struct ScriptedSystem final : RealtimeKit {
    bool alreadyRealtime = false, directGranted = false, niceGranted = false;
    bool kitRealtimeGranted = false, kitHighPriorityGranted = false;
    QStringList log;

    bool makeThreadRealtime(qint64 threadId, int priority) override {
        log << QStringLiteral("kit realtime %1 %2").arg(threadId).arg(priority);
        return kitRealtimeGranted;
    }
    bool makeThreadHighPriority(qint64 threadId, int nice) override {
        log << QStringLiteral("kit nice %1 %2").arg(threadId).arg(nice);
        return kitHighPriorityGranted;
    }
    SenderScheduler::ThreadSteps steps() {
        return {[this] { return alreadyRealtime; },
                [this](int priority) { return request(QStringLiteral("fifo %1").arg(priority), directGranted); },
                [this](int nice) { return request(QStringLiteral("nice %1").arg(nice), niceGranted); },
                [this](Ns slice) { log << QStringLiteral("prompt %1").arg(slice.count() / 1000); },
                [] { return qint64(4242); }};
    }
    bool request(const QString& entry, bool answer) {
        log << entry;
        return answer;
    }
};

QStringList lines(const char* text) {
    return QString::fromLatin1(text).split(u'|', Qt::SkipEmptyParts);
}

} // namespace

class TestSenderScheduling : public QObject {
    Q_OBJECT
private slots:
    void hybridWaitKeepsTheEdge_data() {
        QTest::addColumn<Ns>("ahead");
        QTest::addColumn<Ns>("lateness");
        QTest::addColumn<Ns>("stall");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<bool>("slept");
        QTest::newRow("sleeps to the margin, then on the clock")
            << Ns(60ms) << Ns(30us) << Ns(0) << Outcome::OnClock << true;
        QTest::newRow("edge within the margin: clock only") << Ns(50us) << Ns(0) << Ns(0) << Outcome::OnClock << false;
        QTest::newRow("edge passed: at once") << Ns(-1ms) << Ns(0) << Ns(0) << Outcome::Passed << false;
        QTest::newRow("edge reached: at once") << Ns(0) << Ns(0) << Ns(0) << Outcome::Passed << false;
        QTest::newRow("woke after the edge: at once") << Ns(30ms) << Ns(2ms) << Ns(0) << Outcome::WokeLate << true;
        QTest::newRow("CPU lost while on the clock") << Ns(30ms) << Ns(0) << Ns(4ms) << Outcome::LostCpu << true;
        QTest::newRow("hiccup shorter than a stall")
            << Ns(30ms) << Ns(0) << HybridWait::kStall - 40us << Outcome::OnClock << true;
    }

    void hybridWaitKeepsTheEdge() {
        QFETCH(Ns, ahead);
        QFETCH(Ns, lateness);
        QFETCH(Ns, stall);
        QFETCH(Outcome, outcome);
        QFETCH(bool, slept);
        ScriptedClock clock;
        clock.lateness = lateness;
        clock.stall = stall;
        const Ns deadline = clock.at + ahead;
        QCOMPARE(HybridWait::waitUntil(clock, deadline), outcome);
        QCOMPARE(clock.sleptTo.has_value(), slept);
        if (slept)
            QCOMPARE(clock.sleptTo->count(), (deadline - HybridWait::kMargin).count());
        if (outcome == Outcome::WokeLate)
            QCOMPARE(clock.spins, 0);
        // Never before the edge; on the clock no later than one turn after it.
        QVERIFY(clock.at >= deadline || outcome == Outcome::Passed);
        if (outcome == Outcome::OnClock)
            QVERIFY(clock.at < deadline + 20us + stall);
    }

    void raiseFollowsTheFallbackOrder_data() {
        QTest::addColumn<bool>("withKit");
        QTest::addColumn<QStringList>("grants");
        QTest::addColumn<SenderScheduling>("expected");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("already real-time: nothing asked")
            << true << lines("already") << SenderScheduling::RealtimeDirect << QStringList();
        QTest::newRow("own right: RealtimeKit not asked")
            << true << lines("fifo") << SenderScheduling::RealtimeDirect << lines("fifo 20");
        QTest::newRow("RealtimeKit grants: nice and slice left alone")
            << true << lines("kit") << SenderScheduling::RealtimeKit << lines("fifo 20|kit realtime 4242 20");
        QTest::newRow("all refused: own nice, then RealtimeKit's")
            << true << QStringList() << SenderScheduling::HybridWait
            << lines("fifo 20|kit realtime 4242 20|nice -10|kit nice 4242 -10|prompt 100");
        QTest::newRow("own nice granted: RealtimeKit's not asked")
            << true << lines("nice") << SenderScheduling::HybridWait
            << lines("fifo 20|kit realtime 4242 20|nice -10|prompt 100");
        QTest::newRow("no RealtimeKit on the desktop")
            << false << QStringList() << SenderScheduling::HybridWait << lines("fifo 20|nice -10|prompt 100");
    }

    void raiseFollowsTheFallbackOrder() {
        QFETCH(bool, withKit);
        QFETCH(QStringList, grants);
        QFETCH(SenderScheduling, expected);
        QFETCH(QStringList, log);
        ScriptedSystem system;
        system.alreadyRealtime = grants.contains(QStringLiteral("already"));
        system.directGranted = grants.contains(QStringLiteral("fifo"));
        system.kitRealtimeGranted = grants.contains(QStringLiteral("kit"));
        system.niceGranted = grants.contains(QStringLiteral("nice"));
        SenderScheduler scheduler(system.steps());
        scheduler.setRealtimeKit(withKit ? &system : nullptr);
        QCOMPARE(scheduler.raiseCurrentThread(), expected);
        QCOMPARE(system.log, log);
    }

    // Each sender thread asks for itself, but a service that said no once is not asked again.
    void refusalIsRememberedAndAGrantIsAskedForAgain() {
        ScriptedSystem system;
        system.kitHighPriorityGranted = true;
        SenderScheduler scheduler(system.steps());
        scheduler.setRealtimeKit(&system);
        scheduler.raiseCurrentThread();
        scheduler.raiseCurrentThread();
        system.kitHighPriorityGranted = false;
        scheduler.raiseCurrentThread();
        scheduler.raiseCurrentThread();
        QCOMPARE(system.log.count(QStringLiteral("kit realtime 4242 20")), 1);
        QCOMPARE(system.log.count(QStringLiteral("kit nice 4242 -10")), 3);
    }

    // The sender thread asks once, before its first key-down, however many characters it keys; the time asking
    // takes does not come off the first element; the engine tells how the thread was scheduled.
    void senderThreadIsRaisedOnceBeforeItsFirstElement() {
        KeyerConfig c = KeyerFixture::directConfig();
        c.multithreaded = true;
        c.port = KeyingPort::Lpt;
        c.lptChoice = QStringLiteral("LPT1");
        KeyerFixture f(c);
        ScriptedSystem system;
        SenderScheduler::ThreadSteps steps = system.steps();
        int raises = 0;
        qsizetype eventsAtRaise = -1;
        steps.setRealtime = [&](int) {
            ++raises;
            eventsAtRaise = f.port.events().size();
            f.time.sleepUntil(f.time.now() + 7ms); // as long as RealtimeKit over D-Bus may take
            return false;
        };
        SenderScheduler scheduler(steps);
        scheduler.setRealtimeKit(&system);
        f.engine.setScheduler(scheduler);
        QCOMPARE(f.engine.senderScheduling(), SenderScheduling::None);
        const qsizetype before = f.port.events().size();

        f.engine.SendText(QStringLiteral("PARIS PARIS"));
        f.engine.waitForSender();
        QCOMPARE(raises, 1);
        QCOMPARE(eventsAtRaise, before);
        const QList<qint64> edges = f.lptTimes().mid(before);
        QVERIFY(edges.size() >= 2);
        QCOMPARE(edges.at(1) - edges.at(0), 60); // P begins with a whole dot
        QCOMPARE(f.engine.senderScheduling(), SenderScheduling::HybridWait);

        system.kitRealtimeGranted = true;
        f.engine.SendText(QStringLiteral("EE"));
        f.engine.waitForSender();
        QCOMPARE(raises, 2);
        QCOMPARE(system.log.count(QStringLiteral("kit realtime 4242 20")), 1);
        QCOMPARE(f.engine.senderScheduling(), SenderScheduling::HybridWait);

        // A direct transmission keys on the caller's thread and only tells how that one runs.
        c.multithreaded = false;
        f.engine.setConfig(c);
        system.alreadyRealtime = true;
        f.engine.SendText(QStringLiteral("E"));
        QCOMPARE(raises, 2);
        QCOMPARE(f.engine.senderScheduling(), SenderScheduling::RealtimeDirect);
    }
};

QTEST_GUILESS_MAIN(TestSenderScheduling)
#include "tst_senderscheduling.moc"
