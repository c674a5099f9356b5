#include "platform/threadcall.h"

#include <QThread>

#include <condition_variable>
#include <mutex>

void callOnThread(QObject* context, const std::function<void()>& fn) {
    if (QThread::currentThread() == context->thread()) {
        fn();
        return;
    }
    std::mutex mutex;
    std::condition_variable ran;
    bool done = false;
    QMetaObject::invokeMethod(
        context,
        [&] {
            fn();
            std::lock_guard lock(mutex);
            done = true;
            ran.notify_one();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex);
    ran.wait(lock, [&] { return done; });
}
