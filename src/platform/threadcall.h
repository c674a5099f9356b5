#pragma once

#include <QObject>

#include <functional>

// Runs fn on the thread of context and returns when it has run (at once when called on that thread). It does what a
// blocking queued call does, but hands the result back through a lock of the standard library, which the thread
// sanitizer sees; Qt's own semaphore it does not, and every use of what fn wrote would look like a race.
void callOnThread(QObject* context, const std::function<void()>& fn);
