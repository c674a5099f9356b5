#include "rigctldprocess.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

bool RigctldProcess::available(QString* skipReason) {
    if (!QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty())
        return true;
    *skipReason = QStringLiteral("rigctld is not installed (Debian package libhamlib-utils; ./cmake/setup.sh "
                                 "installs it)");
    return false;
}

RigctldProcess::RigctldProcess() : m_port(freePort()) {}

RigctldProcess::~RigctldProcess() {
    kill();
}

bool RigctldProcess::start() {
    m_process.start(QStringLiteral("rigctld"),
                    {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-P"), QStringLiteral("RIG"),
                     QStringLiteral("-T"), QStringLiteral("127.0.0.1"), QStringLiteral("-t"), QString::number(m_port)});
    if (!m_process.waitForStarted())
        return false;
    // Listening is not announced: try to connect until it answers.
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(200))
            return true;
        m_process.waitForReadyRead(20);
    }
    return false;
}

void RigctldProcess::kill() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}

QStringList RigctldProcess::command(const QString& line) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    if (!socket.waitForConnected(2000))
        return {};
    // "+" asks for the extended reply, which always ends in an "RPRT" line, so the answer's end is known.
    socket.write((QStringLiteral("+") + line + u'\n').toLatin1());
    QStringList lines;
    const QDeadlineTimer deadline(5000);
    QByteArray pending;
    while (!deadline.hasExpired() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
        pending += socket.readAll();
        lines = QString::fromLatin1(pending).split(u'\n', Qt::SkipEmptyParts);
        if (!lines.isEmpty() && lines.constLast().startsWith(QLatin1String("RPRT")))
            break;
    }
    return lines;
}

QString RigctldProcess::value(const QString& command, const QString& name) {
    const QString prefix = name + QStringLiteral(": ");
    for (const QString& line : this->command(command)) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed();
    }
    return {};
}
