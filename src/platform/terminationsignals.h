#pragma once

#include <QObject>

class QSocketNotifier;

// The end of the desktop session, a shutdown or a plain kill (SIGTERM, SIGHUP, SIGINT) reaches the program as
// a request to close as the operator would close it: settings written, keyer stopped, key and PTT released.
// The signal handler only writes a byte to a pipe; the request itself is raised in the event loop.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    // False where the handlers could not be installed (then the signals keep their default action).
    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
