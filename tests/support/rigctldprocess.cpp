#include "rigctldprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Whether the process holds a listening socket on the local port: /proc/net/tcp gives the socket of the port,
// /proc/PID/fd the process's sockets. Elsewhere than on Linux a connection has to do.
bool listensOn(qint64 pid, quint16 port) {
#ifdef Q_OS_LINUX
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    QStringList sockets;
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        // sl local_address rem_address st … inode; a listening socket's state is 0A.
        if (fields.size() > 9 && fields[3] == "0A" &&
            fields[1].endsWith(':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0')))
            sockets << QStringLiteral("socket:[%1]").arg(QString::fromLatin1(fields[9]));
    }
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)) {
        if (sockets.contains(QFile::symLinkTarget(fds.filePath(fd)).section(u'/', -1)))
            return true;
    }
    return false;
#else
    Q_UNUSED(pid);
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(200);
#endif
}

} // namespace

bool RigctldProcess::available(QString* skipReason) {
    if (!QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty())
        return true;
    *skipReason = QStringLiteral("rigctld is not installed (Debian package libhamlib-utils; ./cmake/setup.sh "
                                 "installs it)");
    return false;
}

RigctldProcess::RigctldProcess() {
#ifdef Q_OS_LINUX
    // A test that crashes takes its rigctld with it instead of leaving it running.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
}

RigctldProcess::~RigctldProcess() {
    kill();
}

bool RigctldProcess::start() {
    if (m_port != 0)
        return startOnPort();
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freePort();
        if (startOnPort())
            return true;
        kill();
    }
    return false;
}

bool RigctldProcess::startOnPort() {
    m_process.start(QStringLiteral("rigctld"),
                    {QStringLiteral("-m"), QStringLiteral("1"), QStringLiteral("-P"), QStringLiteral("RIG"),
                     QStringLiteral("-T"), QStringLiteral("127.0.0.1"), QStringLiteral("-t"), QString::number(m_port)});
    if (!m_process.waitForStarted())
        return false;
    // Listening is not announced: look until this rigctld holds the port, or has given up on it.
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if (listensOn(m_process.processId(), m_port))
            return true;
        m_process.waitForFinished(20);
    }
    return false;
}

void RigctldProcess::kill() {
    m_socket.abort();
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}

QStringList RigctldProcess::command(const QString& line) {
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        m_socket.abort();
        m_socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (!m_socket.waitForConnected(2000))
            return {};
    }
    // "+" asks for the extended reply, which always ends in an "RPRT" line, so the answer's end is known.
    m_socket.write((QStringLiteral("+") + line + u'\n').toLatin1());
    QStringList lines;
    const QDeadlineTimer deadline(5000);
    QByteArray pending;
    while (!deadline.hasExpired() && m_socket.waitForReadyRead(int(deadline.remainingTime()))) {
        pending += m_socket.readAll();
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
