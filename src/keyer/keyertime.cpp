#include "keyer/keyertime.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

KeyerTime::Nanoseconds PreciseKeyerTime::now() const {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return Nanoseconds(qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec);
}

void PreciseKeyerTime::sleepUntil(Nanoseconds deadline) {
    const qint64 ns = deadline.count();
    if (ns <= 0)
        return;
    timespec ts{};
    ts.tv_sec = time_t(ns / 1'000'000'000);
    ts.tv_nsec = long(ns % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
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

bool KeyerThread::raiseCurrentThread() {
#ifdef __linux__
    int policy = 0;
    sched_param current{};
    if (pthread_getschedparam(pthread_self(), &policy, &current) == 0 && policy == SCHED_FIFO)
        return true;
    sched_param param{};
    param.sched_priority = std::min(20, sched_get_priority_max(SCHED_FIFO));
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0)
        return true;
    setpriority(PRIO_PROCESS, 0, -10); // the calling thread on Linux; refused without the right, harmlessly
#endif
    return false;
}
