#include "udpdatagrams.h"

#include "platform/threadcall.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QSemaphore>
#include <QUdpSocket>

#include <memory>

UdpDatagrams::UdpDatagrams() {
    m_thread.setObjectName(QStringLiteral("UdpDatagrams"));
    m_thread.start();
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
}

UdpDatagrams::~UdpDatagrams() {
    close();
    m_thread.quit();
    m_thread.wait();
    // A deleteLater() posted to a loop that is quitting may never run; once the thread has ended, deleting here is
    // safe.
    delete m_context;
}

SerialOpenResult UdpDatagrams::open(const QString& host, int port) {
    close();
    if (port < 1 || port > 65535)
        return {false, QStringLiteral("port %1").arg(port)};
    QHostAddress address;
    if (!address.setAddress(host)) {
        // The look-up answers on the socket's thread; a host that takes longer than a second is given up.
        struct Lookup {
            QSemaphore done;
            QHostInfo info;
        };
        auto lookup = std::make_shared<Lookup>();
        QHostInfo::lookupHost(host, m_context, [lookup](const QHostInfo& info) {
            lookup->info = info;
            lookup->done.release();
        });
        if (!lookup->done.tryAcquire(1, kLookupTimeoutMs))
            return {false, QStringLiteral("%1: the host is not found in time").arg(host)};
        if (lookup->info.error() != QHostInfo::NoError || lookup->info.addresses().isEmpty())
            return {false, lookup->info.errorString()};
        // An IPv4 address first: a daemon started without options listens on IPv4.
        address = lookup->info.addresses().constFirst();
        for (const QHostAddress& a : lookup->info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                address = a;
                break;
            }
        }
    }
    SerialOpenResult result;
    callOnThread(m_context, [&] { result = openSocket(address, quint16(port)); });
    return result;
}

SerialOpenResult UdpDatagrams::openSocket(const QHostAddress& address, quint16 port) {
    closeSocket();
    m_socket = new QUdpSocket(m_context);
    QObject::connect(m_socket, &QUdpSocket::readyRead, m_socket, [this] { readAll(); });
    QObject::connect(m_socket, &QUdpSocket::errorOccurred, m_socket, [this](QAbstractSocket::SocketError error) {
        // A read that finds nothing waiting is no failure.
        if (error == QAbstractSocket::TemporaryError)
            return;
        if (failed)
            failed(m_socket->errorString());
    });
    m_socket->connectToHost(address, port);
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        const QString error = m_socket->errorString();
        closeSocket();
        return {false, error};
    }
    m_open = true;
    return {true, QString()};
}

void UdpDatagrams::close() {
    if (!m_open)
        return;
    callOnThread(m_context, [this] { closeSocket(); });
}

void UdpDatagrams::closeSocket() {
    m_open = false;
    if (!m_socket)
        return;
    m_socket->disconnect();
    m_socket->abort();
    delete m_socket;
    m_socket = nullptr;
}

bool UdpDatagrams::send(const QByteArray& datagram) {
    if (!m_open)
        return false;
    QMetaObject::invokeMethod(
        m_context, [this, datagram] { write(datagram); }, Qt::QueuedConnection);
    return true;
}

void UdpDatagrams::write(const QByteArray& datagram) {
    if (!m_socket)
        return;
    // The refusal of an earlier datagram may come back as the error of this write, which is reported without a
    // signal of the socket.
    if (m_socket->write(datagram) < 0 && m_socket->error() != QAbstractSocket::TemporaryError && failed)
        failed(m_socket->errorString());
}

void UdpDatagrams::readAll() {
    // Read until the socket has nothing, without asking first: asking peeks, and a peek takes away the error of a
    // datagram the peer's port refused. The read reports it (and the notifier stops firing on and on).
    QByteArray buffer(65536, Qt::Uninitialized);
    while (m_socket) {
        const qint64 size = m_socket->readDatagram(buffer.data(), buffer.size());
        if (size < 0)
            break;
        if (datagramReceived)
            datagramReceived(buffer.left(size));
    }
}
