#pragma once

#include "rig/rig.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

class QTimer;

// Lives on the poller's thread and makes every call to the radio there.
class RigPollerWorker : public QObject {
    Q_OBJECT
public:
    RigPollerWorker(std::unique_ptr<Rig> rig, int pollMs);
    ~RigPollerWorker() override;

    void start();
    void poll();
    void tune(quint64 sequence, qint64 frequencyHz, const QString& mode);
    void setPtt(bool on);
    void sendMorse(const QString& text, int wpm);
    void stopMorse();

signals:
    void readingTaken(const RigReading& reading, quint64 tuned);
    void connectionChanged(bool connected, const QString& error);

private:
    void report(bool connected, const QString& error);
    void commandDone(const RigReply& reply);

    std::unique_ptr<Rig> m_rig;
    int m_pollMs;
    QTimer* m_timer = nullptr;
    bool m_open = false;
    quint64 m_tuned = 0;
    std::optional<bool> m_reportedConnected;
    QString m_reportedError;
    QString m_commandError;
};

// Owns a Rig on a thread of its own and reads it every poll interval; hamlib may block for seconds on a radio
// that does not answer, and the window must not. Readings and the connection state arrive as signals on the
// thread that made the poller. The commands return at once and run on the poller's thread in the order given;
// they are safe to call from any thread (the keyer's sender thread keys and switches PTT through them).
class RigPoller : public QObject {
    Q_OBJECT
public:
    RigPoller(std::unique_ptr<Rig> rig, int pollMs, QObject* parent = nullptr);
    // Waits for a call to the radio in progress to end.
    ~RigPoller() override;

    void start();
    // Ends the thread without waiting; finished() follows once the radio's call in progress has ended and the
    // connection is closed.
    void stop();
    bool isFinished() const { return m_thread.isFinished(); }

    // Frequency and mode (either may be left out: 0, empty); returns the sequence number readings report
    // once the radio has carried it out.
    quint64 tune(qint64 frequencyHz, const QString& mode);
    void setPtt(bool on);
    void sendMorse(const QString& text, int wpm);
    void stopMorse();

signals:
    // `tuned`: how many tuning commands the radio had carried out when it was read.
    void readingArrived(const RigReading& reading, quint64 tuned);
    // Connected, or not connected with the reason.
    void connectionChanged(bool connected, const QString& error);
    void finished();

private:
    template <typename F> void post(F&& call);

    QThread m_thread;
    RigPollerWorker* m_worker;
    bool m_started = false;
    std::atomic<quint64> m_tuneIssued{0};
    // Held while a command is posted and when the thread is told to end: nothing is posted after that.
    std::mutex m_postMutex;
    bool m_stopping = false;
};
