#include "keyer/senderscheduling.h"
#include "keyerfixture.h"

#include <QTest>

#include <deque>

using namespace std::chrono_literals;
using Ns = KeyerTime::Nanoseconds;

namespace {

// Microseconds, which QCOMPARE prints.
qint64 us(Ns t) {
    return std::chrono::duration_cast<std::chrono::microseconds>(t).count();
}

// Virtual time for the hybrid wait: a sleep wakes at its target plus the next scripted lateness, a turn of the
// wait on the clock costs 20 µs.
class ScriptedClock final : public HybridWait::Clock {
public:
    static constexpr Ns kSpin = 20us;
    Ns now() override { return m_now; }
    void sleepUntil(Ns deadline) override {
        sleeps.push_back(deadline);
        Ns late{0};
        if (!latenesses.empty()) {
            late = latenesses.front();
            latenesses.pop_front();
        }
        m_now = std::max(m_now, deadline + late);
    }
    void spin() override {
        ++spins;
        m_now += kSpin + stallNextSpin;
        stallNextSpin = Ns(0);
    }
    void advance(Ns by) { m_now += by; }

    std::deque<Ns> latenesses;
    std::vector<Ns> sleeps;
    int spins = 0;
    Ns stallNextSpin{0}; // the CPU is taken away for so long during the next turn

private:
    Ns m_now = 1s;
};

// RealtimeKit and the thread's own system calls, answering as scripted and logging every request in order.
struct ScriptedSystem final : RealtimeKit {
    bool alreadyRealtime = false;
    bool directGranted = false;
    bool niceGranted = false;
    bool kitRealtimeGranted = false;
    bool kitHighPriorityGranted = false;
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
                [this](int priority) {
                    log << QStringLiteral("fifo %1").arg(priority);
                    return directGranted;
                },
                [this](int nice) {
                    log << QStringLiteral("nice %1").arg(nice);
                    return niceGranted;
                },
                [this](std::chrono::nanoseconds slice) { log << QStringLiteral("prompt, slice %1").arg(us(slice)); },
                [] { return qint64(4242); }};
    }
};

QStringList lines(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* item : items)
        out << QString::fromLatin1(item);
    return out;
}

} // namespace

class TestSenderScheduling : public QObject {
    Q_OBJECT
private slots:
    void punctualWakeSleepsToTheMarginAndWaitsOutTheEdge() {
        ScriptedClock clock;
        const Ns deadline = clock.now() + 60ms;
        QCOMPARE(HybridWait::waitUntil(clock, deadline), HybridWait::Outcome::OnClock);
        QCOMPARE(clock.sleeps.size(), size_t(1));
        QCOMPARE(us(clock.sleeps.front()), us(deadline - HybridWait::kMargin));
        QVERIFY(clock.now() >= deadline);
        QVERIFY(clock.now() < deadline + ScriptedClock::kSpin);
        QCOMPARE(clock.spins, int(HybridWait::kMargin / ScriptedClock::kSpin));
    }

    void edgeWithinTheMarginOrPastIsNotSleptFor() {
        ScriptedClock clock;
        QCOMPARE(HybridWait::waitUntil(clock, clock.now() + 50us), HybridWait::Outcome::OnClock);
        QVERIFY(clock.sleeps.empty());
        QCOMPARE(clock.spins, 3);

        clock.spins = 0;
        QCOMPARE(HybridWait::waitUntil(clock, clock.now() - 1ms), HybridWait::Outcome::Passed);
        QCOMPARE(HybridWait::waitUntil(clock, clock.now()), HybridWait::Outcome::Passed);
        QVERIFY(clock.sleeps.empty());
        QCOMPARE(clock.spins, 0);
    }

    // A wake-up after the edge cannot be mended: it returns at once, and the next edge is kept as usual.
    void lateWakeReturnsAtOnce() {
        ScriptedClock clock;
        clock.latenesses = {2ms, 50us};
        Ns deadline = clock.now() + 30ms;
        QCOMPARE(HybridWait::waitUntil(clock, deadline), HybridWait::Outcome::WokeLate);
        QCOMPARE(clock.spins, 0);
        QCOMPARE(us(clock.now()), us(deadline - HybridWait::kMargin + 2ms));

        deadline += 30ms;
        QCOMPARE(HybridWait::waitUntil(clock, deadline), HybridWait::Outcome::OnClock);
        QVERIFY(clock.now() >= deadline);
        QVERIFY(clock.now() < deadline + ScriptedClock::kSpin);
    }

    // A turn of the wait that took longer than a stall is told (the bench counts them); a shorter hiccup is not.
    void cpuTakenAwayDuringTheWaitIsTold() {
        ScriptedClock clock;
        clock.stallNextSpin = 4ms;
        Ns deadline = clock.now() + 30ms;
        QCOMPARE(HybridWait::waitUntil(clock, deadline), HybridWait::Outcome::LostCpu);
        QVERIFY(clock.now() >= deadline);
        clock.stallNextSpin = HybridWait::kStall - 2 * ScriptedClock::kSpin;
        deadline = clock.now() + 30ms;
        QCOMPARE(HybridWait::waitUntil(clock, deadline), HybridWait::Outcome::OnClock);
        QVERIFY(clock.now() >= deadline);
    }

    void raiseFollowsTheFallbackOrder_data() {
        QTest::addColumn<bool>("alreadyRealtime");
        QTest::addColumn<bool>("directGranted");
        QTest::addColumn<bool>("kitRealtimeGranted");
        QTest::addColumn<bool>("niceGranted");
        QTest::addColumn<SenderScheduling>("expected");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("already real-time: nothing asked")
            << true << false << false << false << SenderScheduling::RealtimeDirect << QStringList();
        QTest::newRow("own right: RealtimeKit not asked")
            << false << true << false << false << SenderScheduling::RealtimeDirect << lines({"fifo 20"});
        QTest::newRow("RealtimeKit grants: the nice value is left alone")
            << false << false << true << false << SenderScheduling::RealtimeKit
            << lines({"fifo 20", "kit realtime 4242 20"});
        QTest::newRow("everything refused: own nice, then RealtimeKit's")
            << false << false << false << false << SenderScheduling::HybridWait
            << lines({"fifo 20", "kit realtime 4242 20", "nice -10", "kit nice 4242 -10", "prompt, slice 100"});
        QTest::newRow("own nice granted: RealtimeKit's not asked")
            << false << false << false << true << SenderScheduling::HybridWait
            << lines({"fifo 20", "kit realtime 4242 20", "nice -10", "prompt, slice 100"});
    }

    void raiseFollowsTheFallbackOrder() {
        QFETCH(bool, alreadyRealtime);
        QFETCH(bool, directGranted);
        QFETCH(bool, kitRealtimeGranted);
        QFETCH(bool, niceGranted);
        QFETCH(SenderScheduling, expected);
        QFETCH(QStringList, log);
        ScriptedSystem system;
        system.alreadyRealtime = alreadyRealtime;
        system.directGranted = directGranted;
        system.kitRealtimeGranted = kitRealtimeGranted;
        system.niceGranted = niceGranted;
        SenderScheduler scheduler(system.steps());
        scheduler.setRealtimeKit(&system);
        QCOMPARE(scheduler.raiseCurrentThread(), expected);
        QCOMPARE(system.log, log);
    }

    void withoutRealtimeKitTheThreadKeepsItsOwnTries() {
        ScriptedSystem system;
        SenderScheduler scheduler(system.steps());
        QCOMPARE(scheduler.raiseCurrentThread(), SenderScheduling::HybridWait);
        QCOMPARE(system.log, lines({"fifo 20", "nice -10", "prompt, slice 100"}));
    }

    // Each sender thread asks for itself, but a service that said no once is not asked again.
    void refusalIsRememberedAndAGrantIsAskedForAgain() {
        ScriptedSystem system;
        SenderScheduler scheduler(system.steps());
        scheduler.setRealtimeKit(&system);
        system.kitHighPriorityGranted = true;
        QCOMPARE(scheduler.raiseCurrentThread(), SenderScheduling::HybridWait);
        system.log.clear();
        QCOMPARE(scheduler.raiseCurrentThread(), SenderScheduling::HybridWait);
        QCOMPARE(system.log, lines({"fifo 20", "nice -10", "kit nice 4242 -10", "prompt, slice 100"}));

        system.kitHighPriorityGranted = false;
        scheduler.raiseCurrentThread();
        system.log.clear();
        scheduler.raiseCurrentThread();
        QCOMPARE(system.log, lines({"fifo 20", "nice -10", "prompt, slice 100"}));

        ScriptedSystem granting;
        granting.kitRealtimeGranted = true;
        SenderScheduler second(granting.steps());
        second.setRealtimeKit(&granting);
        second.raiseCurrentThread();
        QCOMPARE(second.raiseCurrentThread(), SenderScheduling::RealtimeKit);
        QCOMPARE(granting.log.count(QStringLiteral("kit realtime 4242 20")), 2);
    }

    // The sender thread asks once, before its first key-down, however many characters it keys; the engine
    // tells how it was scheduled.
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
            // As long as RealtimeKit over D-Bus may take.
            f.time.sleepUntil(f.time.now() + 7ms);
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
        // The time taken by asking comes before the first element, not off it: P starts with a whole dot.
        const QList<qint64> edges = f.lptTimes().mid(before);
        QVERIFY(edges.size() >= 2);
        QCOMPARE(edges.at(1) - edges.at(0), 60);
        QCOMPARE(f.engine.senderScheduling(), SenderScheduling::HybridWait);

        system.kitRealtimeGranted = true;
        f.engine.SendText(QStringLiteral("EE"));
        f.engine.waitForSender();
        QCOMPARE(raises, 2);
        // The refusal of the first transmission stands.
        QCOMPARE(system.log.count(QStringLiteral("kit realtime 4242 20")), 1);
        QCOMPARE(f.engine.senderScheduling(), SenderScheduling::HybridWait);
    }

    void directTransmissionTellsTheCallersSchedulingWithoutRaisingIt() {
        KeyerFixture f;
        ScriptedSystem system;
        system.alreadyRealtime = true;
        SenderScheduler scheduler(system.steps());
        scheduler.setRealtimeKit(&system);
        f.engine.setScheduler(scheduler);
        f.engine.SendText(QStringLiteral("E"));
        QCOMPARE(f.engine.senderScheduling(), SenderScheduling::RealtimeDirect);
        system.alreadyRealtime = false;
        f.engine.SendText(QStringLiteral("E"));
        QCOMPARE(f.engine.senderScheduling(), SenderScheduling::HybridWait);
        QVERIFY(system.log.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSenderScheduling)
#include "tst_senderscheduling.moc"
