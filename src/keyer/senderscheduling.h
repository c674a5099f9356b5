#pragma once

#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <functional>

// How the sender thread got its CPU while it keyed. With real-time scheduling a sleep to each edge is exact;
// without it PreciseKeyerTime sleeps to shortly before each edge and waits out the rest on the clock.
enum class SenderScheduling {
    None,           // no transmission has been keyed yet
    RealtimeDirect, // SCHED_FIFO or SCHED_RR, set by the thread itself (root, or an rtprio limit)
    RealtimeKit,    // real-time, granted by the desktop's RealtimeKit service
    HybridWait,     // normal scheduling
};

// How the bench and the logs name it.
const char* schedulingName(SenderScheduling scheduling);

// The desktop's RealtimeKit service (rtkit-daemon on the system bus), which grants an ordinary user's thread
// real-time scheduling or a raised nice value. It speaks D-Bus, so the real one lives outside the core; each
// call returns within a short timeout, false when refused or unanswered.
class RealtimeKit {
public:
    virtual ~RealtimeKit() = default;
    virtual bool makeThreadRealtime(qint64 threadId, int priority) = 0;
    virtual bool makeThreadHighPriority(qint64 threadId, int nice) = 0;
};

// Raises a sender thread, once, before its first element: real-time scheduling by itself when the process may
// have it, else through RealtimeKit, else the highest nice it can get (itself, then RealtimeKit) and a short time
// slice, with the hybrid wait. A RealtimeKit refusal is remembered for the life of the scheduler, so later
// transmissions do not wait for the service again. "Priorytet" does not change this: keying accuracy matters at every
// process priority.
class SenderScheduler {
public:
    // What the scheduler does to the calling thread; the real system calls by default, scripted in the tests.
    struct ThreadSteps {
        std::function<bool()> hasRealtime;             // the thread already runs SCHED_FIFO or SCHED_RR
        std::function<bool(int priority)> setRealtime; // SCHED_FIFO within RLIMIT_RTPRIO
        std::function<bool(int nice)> setNice;
        // Prompt wake-ups for an ordinary user: no timer slack, and a short time slice (Linux 6.12 and later), with
        // which the thread takes the CPU at once when it wakes on a busy core instead of waiting out the running
        // program's slice.
        std::function<void(std::chrono::nanoseconds slice)> askPromptWakeUps;
        std::function<qint64()> threadId; // the kernel's id of the thread, as RealtimeKit wants it
    };
    static constexpr int kRealtimePriority = 20; // RealtimeKit's usual ceiling
    static constexpr int kHighNice = -10;
    // The shortest the kernel grants; the waits on the clock of HybridWait fit in it.
    static constexpr std::chrono::nanoseconds kTimeSlice = std::chrono::microseconds(100);

    explicit SenderScheduler(ThreadSteps steps = systemThreadSteps());
    // The one the engines use unless told otherwise; main() gives it the RealtimeKit client.
    static SenderScheduler& process();
    static ThreadSteps systemThreadSteps();
    // Whether the calling thread runs SCHED_FIFO or SCHED_RR, however it came to.
    static bool threadHasRealtime();

    // The kit must outlive every sender thread; nullptr when the desktop has none.
    void setRealtimeKit(RealtimeKit* kit) { m_kit = kit; }
    SenderScheduling raiseCurrentThread();
    // The calling thread as it is, without asking for anything (the window thread keying a direct transmission).
    SenderScheduling currentThread() const;

private:
    ThreadSteps m_steps;
    std::atomic<RealtimeKit*> m_kit{nullptr};
    std::atomic<bool> m_kitRealtimeRefused{false};
    std::atomic<bool> m_kitHighPriorityRefused{false};
};
