#include "fakecwdaemon.h"

#include "platform/threadcall.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

FakeCwdaemon::FakeCwdaemon() {
    m_thread.start();
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    callOnThread(m_context, [this] {
        m_socket = new QUdpSocket(m_context);
        m_socket->bind(QHostAddress::LocalHost, 0);
        m_port = m_socket->localPort();
        QObject::connect(m_socket, &QUdpSocket::readyRead, m_socket, [this] { onReadyRead(); });
    });
}

FakeCwdaemon::~FakeCwdaemon() {
    callOnThread(m_context, [this] { delete m_socket; });
    m_thread.quit();
    m_thread.wait();
    delete m_context;
}

void FakeCwdaemon::onReadyRead() {
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        const QByteArray data = datagram.data();
        {
            std::lock_guard lock(m_mutex);
            m_received.append({data, Clock::now()});
        }
        m_changed.notify_all();
        if (data.startsWith("\x1bh")) {
            m_replyTo = data.mid(2);
        } else if (!data.startsWith('\x1b') && !m_replyTo.isNull()) {
            if (m_answering)
                m_socket->writeDatagram("h" + m_replyTo + "\r\n", datagram.senderAddress(), datagram.senderPort());
            m_replyTo = QByteArray();
        }
    }
}

QList<FakeCwdaemon::Received> FakeCwdaemon::received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

QList<QByteArray> FakeCwdaemon::datagrams() const {
    QList<QByteArray> list;
    for (const Received& r : received())
        list.append(r.datagram.startsWith("\x1bh") ? QByteArray("\x1bh<token>") : r.datagram);
    return list;
}

void FakeCwdaemon::clear() {
    std::lock_guard lock(m_mutex);
    m_received.clear();
}

bool FakeCwdaemon::waitForCount(int count, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_received.size() >= count; });
}
