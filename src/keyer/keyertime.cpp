#include "keyer/keyertime.h"

#include "keyer/senderscheduling.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace {

KeyerTime::Nanoseconds monotonicNow() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return KeyerTime::Nanoseconds(qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec);
}

void sleepToDeadline(KeyerTime::Nanoseconds deadline) {
    const qint64 ns = deadline.count();
    if (ns <= 0)
        return;
    timespec ts{};
    ts.tv_sec = time_t(ns / 1'000'000'000);
    ts.tv_nsec = long(ns % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

class MonotonicClock final : public HybridWait::Clock {
public:
    KeyerTime::Nanoseconds now() override { return monotonicNow(); }
    void sleepUntil(KeyerTime::Nanoseconds deadline) override { sleepToDeadline(deadline); }
    void spin() override {
        // Not sched_yield: a yielding thread lets a busy neighbour run for its whole slice.
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#elif defined(__aarch64__)
        asm volatile("yield");
#endif
    }
};

} // namespace

HybridWait::Outcome HybridWait::waitUntil(Clock& clock, Nanoseconds deadline) {
    Nanoseconds now = clock.now();
    if (now >= deadline)
        return Outcome::Passed;
    if (deadline - now > kMargin) {
        clock.sleepUntil(deadline - kMargin);
        now = clock.now();
        if (now >= deadline)
            return Outcome::WokeLate;
    }
    Nanoseconds longestTurn{0};
    while (now < deadline) {
        clock.spin();
        const Nanoseconds next = clock.now();
        longestTurn = std::max(longestTurn, next - now);
        now = next;
    }
    return longestTurn > kStall ? Outcome::LostCpu : Outcome::OnClock;
}

KeyerTime::Nanoseconds PreciseKeyerTime::now() const {
    return monotonicNow();
}

void PreciseKeyerTime::sleepUntil(Nanoseconds deadline) {
    if (SenderScheduler::threadHasRealtime()) {
        sleepToDeadline(deadline);
        ++m_realtime;
        return;
    }
    MonotonicClock clock;
    switch (HybridWait::waitUntil(clock, deadline)) {
    case HybridWait::Outcome::Passed:
        break;
    case HybridWait::Outcome::OnClock:
        ++m_onClock;
        break;
    case HybridWait::Outcome::WokeLate:
        ++m_wokeLate;
        break;
    case HybridWait::Outcome::LostCpu:
        ++m_lostCpu;
        break;
    }
}

PreciseKeyerTime::Counts PreciseKeyerTime::counts() const {
    return {m_realtime, m_onClock, m_wokeLate, m_lostCpu};
}

KeyerTime::Nanoseconds VirtualKeyerTime::now() const {
    std::lock_guard lock(m_mutex);
    return m_now;
}

void VirtualKeyerTime::sleepUntil(Nanoseconds deadline) {
    for (;;) {
        std::function<void()> action;
        {
            std::lock_guard lock(m_mutex);
            const auto next = m_actions.begin();
            if (next == m_actions.end() || next->first > deadline) {
                if (deadline > m_now)
                    m_now = deadline;
                return;
            }
            if (next->first > m_now)
                m_now = next->first;
            action = std::move(next->second);
            m_actions.erase(next);
        }
        action();
    }
}

void VirtualKeyerTime::at(qint64 ms, std::function<void()> action) {
    std::lock_guard lock(m_mutex);
    m_actions.emplace(Nanoseconds(std::chrono::milliseconds(ms)), std::move(action));
}
