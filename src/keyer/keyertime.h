#pragma once

#include <QtGlobal>

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

// Real time: CLOCK_MONOTONIC with absolute-deadline sleeps, immune to wall-clock steps.
class PreciseKeyerTime final : public KeyerTime {
public:
    Nanoseconds now() const override;
    void sleepUntil(Nanoseconds deadline) override;
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

namespace KeyerThread {
// Raises the calling (sender) thread to real-time scheduling where the system allows it, else to the
// highest normal priority it may take, so that element edges stay on time on a busy machine. Returns
// whether real-time scheduling was granted.
bool raiseCurrentThread();
} // namespace KeyerThread
