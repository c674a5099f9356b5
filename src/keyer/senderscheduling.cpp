#include "keyer/senderscheduling.h"

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <algorithm>

namespace {

#ifdef __linux__
bool setThreadRealtime(int priority) {
    sched_param param{};
    param.sched_priority = std::min(priority, sched_get_priority_max(SCHED_FIFO));
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0)
        return true;
    // Without CAP_SYS_NICE the priority may not exceed RLIMIT_RTPRIO ("@audio - rtprio 10" grants 1..10).
    rlimit limit{};
    if (getrlimit(RLIMIT_RTPRIO, &limit) != 0 || limit.rlim_cur == 0 || limit.rlim_cur == RLIM_INFINITY ||
        rlim_t(param.sched_priority) <= limit.rlim_cur)
        return false;
    param.sched_priority = int(limit.rlim_cur);
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

// setpriority(PRIO_PROCESS, 0, …) is the calling thread on Linux.
bool setThreadNice(int nice) {
    return setpriority(PRIO_PROCESS, 0, nice) == 0;
}

// The head of the kernel's struct sched_attr (SCHED_ATTR_SIZE_VER0); glibc has no wrapper for the calls.
struct SchedAttr {
    quint32 size;
    quint32 policy;
    quint64 flags;
    qint32 nice;
    quint32 priority;
    quint64 runtime; // for SCHED_OTHER the time slice asked for
    quint64 deadline;
    quint64 period;
};

void askPromptWakeUps(std::chrono::nanoseconds slice) {
    // The 50 µs a normal thread's timers may fire late, to save wake-ups, would come off the margin.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    SchedAttr attr{};
    if (syscall(SYS_sched_getattr, 0, &attr, sizeof attr, 0) != 0 || attr.policy != SCHED_OTHER)
        return;
    // The nice value read back stays as it is; a kernel before 6.12 ignores the slice.
    attr.size = sizeof attr;
    attr.flags = 0;
    attr.runtime = quint64(slice.count());
    syscall(SYS_sched_setattr, 0, &attr, 0);
}

qint64 threadId() {
    return qint64(gettid());
}
#else
void askPromptWakeUps(std::chrono::nanoseconds) {}
bool setThreadRealtime(int) {
    return false;
}
bool setThreadNice(int) {
    return false;
}
qint64 threadId() {
    return 0;
}
#endif

} // namespace

const char* schedulingName(SenderScheduling scheduling) {
    switch (scheduling) {
    case SenderScheduling::None:
        return "none yet";
    case SenderScheduling::RealtimeDirect:
        return "real-time (SCHED_FIFO, the process's own right)";
    case SenderScheduling::RealtimeKit:
        return "real-time through RealtimeKit";
    case SenderScheduling::HybridWait:
        return "normal, hybrid wait (sleep to shortly before each edge, then wait on the clock)";
    }
    return "";
}

SenderScheduler::SenderScheduler(ThreadSteps steps) : m_steps(std::move(steps)) {}

SenderScheduler& SenderScheduler::process() {
    static SenderScheduler scheduler;
    return scheduler;
}

SenderScheduler::ThreadSteps SenderScheduler::systemThreadSteps() {
    return {threadHasRealtime, setThreadRealtime, setThreadNice, askPromptWakeUps, threadId};
}

bool SenderScheduler::threadHasRealtime() {
#ifdef __linux__
    // RealtimeKit grants SCHED_RR with SCHED_RESET_ON_FORK, which comes back ORed into the policy.
    const int policy = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    return policy == SCHED_FIFO || policy == SCHED_RR;
#else
    return false;
#endif
}

SenderScheduling SenderScheduler::raiseCurrentThread() {
    if (m_steps.hasRealtime())
        return SenderScheduling::RealtimeDirect;
    if (m_steps.setRealtime(kRealtimePriority))
        return SenderScheduling::RealtimeDirect;
    RealtimeKit* kit = m_kit;
    if (kit && !m_kitRealtimeRefused) {
        if (kit->makeThreadRealtime(m_steps.threadId(), kRealtimePriority))
            return SenderScheduling::RealtimeKit;
        m_kitRealtimeRefused = true;
    }
    if (!m_steps.setNice(kHighNice) && kit && !m_kitHighPriorityRefused) {
        if (!kit->makeThreadHighPriority(m_steps.threadId(), kHighNice))
            m_kitHighPriorityRefused = true;
    }
    m_steps.askPromptWakeUps(kTimeSlice);
    return SenderScheduling::HybridWait;
}

SenderScheduling SenderScheduler::currentThread() const {
    return m_steps.hasRealtime() ? SenderScheduling::RealtimeDirect : SenderScheduling::HybridWait;
}
