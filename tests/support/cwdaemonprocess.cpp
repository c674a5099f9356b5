#include "cwdaemonprocess.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QNetworkDatagram>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUdpSocket>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

quint16 freeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

// Whether a daemon answers on the port: a reply request and a blank, which it answers after the blank's silence.
bool answers(quint16 port) {
    QUdpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write("\x1bhready");
    socket.write(" ");
    const QDeadlineTimer deadline(1000);
    while (!deadline.hasExpired() && socket.waitForReadyRead(int(deadline.remainingTime()))) {
        if (socket.receiveDatagram().data().startsWith("hready"))
            return true;
    }
    return false;
}

} // namespace

QString CwdaemonProcess::program() {
    QString found = QStandardPaths::findExecutable(QStringLiteral("cwdaemon"));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(QStringLiteral("cwdaemon"),
                                               {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    return found;
}

bool CwdaemonProcess::available(QString* skipReason) {
    if (!program().isEmpty())
        return true;
    *skipReason = QStringLiteral("cwdaemon is not installed (Debian package cwdaemon; ./cmake/setup.sh installs it)");
    return false;
}

CwdaemonProcess::CwdaemonProcess() {
#ifdef Q_OS_LINUX
    // A test that crashes takes its cwdaemon with it.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

CwdaemonProcess::~CwdaemonProcess() {
    kill();
}

bool CwdaemonProcess::start() {
    if (m_port != 0)
        return startOnPort();
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freeUdpPort();
        if (startOnPort())
            return true;
        kill();
    }
    return false;
}

bool CwdaemonProcess::startOnPort() {
    m_output.clear();
    // Debug output on stderr, which is not buffered, so it is read as it happens.
    m_process.start(program(),
                    {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("null"), QStringLiteral("-x"),
                     QStringLiteral("n"), QStringLiteral("-y"), QStringLiteral("i"), QStringLiteral("-f"),
                     QStringLiteral("stderr"), QStringLiteral("-p"), QString::number(m_port)});
    if (!m_process.waitForStarted())
        return false;
    // A port taken by another test's daemon makes this one exit; one that answers is ours while it runs.
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if (answers(m_port))
            return m_process.state() == QProcess::Running;
    }
    return false;
}

void CwdaemonProcess::kill() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
    m_output += QString::fromLocal8Bit(m_process.readAll());
}

QString CwdaemonProcess::output() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.waitForReadyRead(0);
        m_output += QString::fromLocal8Bit(m_process.readAll());
    }
    return m_output;
}

QString CwdaemonProcess::keyedText() {
    static const QRegularExpression queued(QStringLiteral("Morse character \"(.)\" to be queued"));
    QString keyed;
    for (const QRegularExpressionMatch& m : queued.globalMatch(output()))
        keyed += m.captured(1);
    return keyed;
}
