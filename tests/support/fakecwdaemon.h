#pragma once

#include <QByteArray>
#include <QList>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class QUdpSocket;

// A UDP listener in cwdaemon's place, on a thread of its own: it records every datagram with the moment it came
// and, like the daemon once it has keyed the text, answers a reply request as soon as the next text arrives.
class FakeCwdaemon {
public:
    using Clock = std::chrono::steady_clock;
    struct Received {
        QByteArray datagram;
        Clock::time_point at;
    };

    FakeCwdaemon();
    ~FakeCwdaemon();

    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // Off: the peer never answers.
    void setAnswering(bool on) { m_answering = on; }

    QList<Received> received() const;
    // The datagrams, each reply token written as "<token>".
    QList<QByteArray> datagrams() const;
    void clear();
    // Waits (at most timeoutMs) until count datagrams have come; false when they have not.
    bool waitForCount(int count, int timeoutMs = 5000);

private:
    void onReadyRead();
    QThread m_thread;
    QObject* m_context = nullptr; // lives on m_thread
    QUdpSocket* m_socket = nullptr;
    quint16 m_port = 0;
    std::atomic<bool> m_answering{true};
    QByteArray m_replyTo; // the token of the last reply request
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QList<Received> m_received;
};
