#include "platform/processpriority.h"

#include <QDir>

#ifdef __linux__
#include <sys/resource.h>
#endif

bool setProcessPriority(ProcessPriority priority) {
#ifdef __linux__
    int nice = 0;
    switch (priority) {
    case ProcessPriority::Idle:
        nice = 19;
        break;
    case ProcessPriority::Normal:
        nice = 0;
        break;
    case ProcessPriority::High:
        nice = -10;
        break;
    case ProcessPriority::Realtime:
        nice = -20;
        break;
    }
    // On Linux a nice value belongs to one thread, so each thread of the process is set.
    const QStringList threads = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (threads.isEmpty())
        return setpriority(PRIO_PROCESS, 0, nice) == 0;
    bool ok = true;
    for (const QString& thread : threads) {
        const int id = thread.toInt();
        if (id > 0 && setpriority(PRIO_PROCESS, id_t(id), nice) != 0)
            ok = false;
    }
    return ok;
#else
    Q_UNUSED(priority);
    return false;
#endif
}
