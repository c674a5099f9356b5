#pragma once

#include "keyer/ports/portseams.h"

#include <QHostAddress>
#include <QObject>
#include <QThread>

#include <atomic>

class QUdpSocket;

// Datagrams over a connected UDP socket that lives on a thread of its own with an event loop, so the datagrams go
// out and come in however busy the caller's thread is. Connected, the socket learns from the peer's ICMP answer
// that nothing listens on the port, which is reported as failed.
class UdpDatagrams final : public Datagrams {
public:
    UdpDatagrams();
    ~UdpDatagrams() override;

    // Looks the host up for at most about a second.
    SerialOpenResult open(const QString& host, int port) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool send(const QByteArray& datagram) override;

    static constexpr int kLookupTimeoutMs = 1000;

private:
    // On the socket's thread.
    SerialOpenResult openSocket(const QHostAddress& address, quint16 port);
    void closeSocket();
    void write(const QByteArray& datagram);
    void readAll();

    QThread m_thread;
    QObject* m_context = nullptr; // lives on m_thread; the socket's parent
    QUdpSocket* m_socket = nullptr;
    std::atomic<bool> m_open{false};
};
