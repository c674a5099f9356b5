#pragma once

#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>

// The keyer's sense of time. Elements are scheduled against absolute deadlines on a monotonic clock, so the
// work done between characters never adds up to drift.
class KeyerTime {
public:
    using Nanoseconds = std::chrono::nanoseconds;
    virtual ~KeyerTime() = default;
    virtual Nanoseconds now() const = 0;
    // Returns once now() has reached the deadline (at once when it already has).
    virtual void sleepUntil(Nanoseconds deadline) = 0;
};

// How a thread without real-time scheduling keeps an element edge: a wake-up comes a little late, so it sleeps
// to a margin before the edge and waits out the rest on the clock. The margin stays within the short time slice
// the sender thread asks for (SenderScheduler::kTimeSlice): on a core that other programs keep busy, a longer
// wait on the clock gets the CPU taken away for a whole slice of theirs, several milliseconds, far worse than
// the late wake-up it was to absorb.
class HybridWait {
public:
    using Nanoseconds = KeyerTime::Nanoseconds;
    // The clock it sleeps and waits on: the monotonic clock, virtual time in the tests.
    class Clock {
    public:
        virtual ~Clock() = default;
        virtual Nanoseconds now() = 0;
        virtual void sleepUntil(Nanoseconds deadline) = 0;
        // One short turn of the wait on the clock.
        virtual void spin() = 0;
    };
    static constexpr Nanoseconds kMargin = std::chrono::microseconds(80);
    // A turn of the wait on the clock longer than this: the thread lost the CPU meanwhile.
    static constexpr Nanoseconds kStall = std::chrono::microseconds(200);

    enum class Outcome {
        Passed,   // the edge had passed already
        OnClock,  // waited out on the clock
        WokeLate, // the wake-up came after the edge
        LostCpu,  // the CPU was taken away while waiting on the clock
    };
    static Outcome waitUntil(Clock& clock, Nanoseconds deadline);
};

// Real time: CLOCK_MONOTONIC with absolute-deadline sleeps, immune to wall-clock steps. A thread without
// real-time scheduling (SCHED_FIFO, SCHED_RR) waits by HybridWait.
class PreciseKeyerTime final : public KeyerTime {
public:
    Nanoseconds now() const override;
    void sleepUntil(Nanoseconds deadline) override;

    // How the sleeps went, for the bench.
    struct Counts {
        int realtime = 0; // plain sleeps of a real-time thread
        int onClock = 0, wokeLate = 0, lostCpu = 0;
    };
    Counts counts() const;

private:
    std::atomic<int> m_realtime{0}, m_onClock{0}, m_wokeLate{0}, m_lostCpu{0};
};

// Virtual time for tests and the command line: a sleep moves the clock forward at once. Actions can be
// scheduled at a virtual moment; they run inside the sleep that passes it, as if another thread acted then.
class VirtualKeyerTime final : public KeyerTime {
public:
    Nanoseconds now() const override;
    void sleepUntil(Nanoseconds deadline) override;
    qint64 nowMs() const { return std::chrono::duration_cast<std::chrono::milliseconds>(now()).count(); }
    void at(qint64 ms, std::function<void()> action);

private:
    mutable std::mutex m_mutex;
    Nanoseconds m_now{0};
    std::multimap<Nanoseconds, std::function<void()>> m_actions;
};
