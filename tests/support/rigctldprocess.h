#pragma once

#include <QProcess>
#include <QString>
#include <QTcpSocket>

// hamlib's dummy radio (model 1) behind a rigctld that the test starts on a free local port, with PTT by CAT.
// The test drives the dummy through rigctld's own protocol on a connection of its own, as another program
// sharing the radio would. The connection is kept: rigctld drops some of many short ones.
class RigctldProcess {
public:
    // False (with the reason in skipReason) when rigctld is not installed.
    static bool available(QString* skipReason);

    RigctldProcess();
    ~RigctldProcess();

    // Starts rigctld on a free port (on the port it had, after a kill); false when it does not listen within a
    // few seconds.
    bool start();
    void kill();
    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    // One command of rigctld's protocol ("F 14025000", "M CW 0") in its extended form: the reply lines, the
    // closing "RPRT 0" included.
    QStringList command(const QString& line);
    // A command that sets something; true when rigctld answered "RPRT 0".
    bool set(const QString& line) {
        const QStringList reply = command(line);
        return !reply.isEmpty() && reply.constLast() == QLatin1String("RPRT 0");
    }
    // A value of the dummy's reply ("Frequency", "Mode", "PTT").
    QString value(const QString& command, const QString& name);
    qint64 frequency() { return value(QStringLiteral("f"), QStringLiteral("Frequency")).toLongLong(); }
    QString mode() { return value(QStringLiteral("m"), QStringLiteral("Mode")); }

private:
    // Started and listening on m_port itself: tests running at the same time may have picked the same port,
    // and a connection that reaches another test's rigctld proves nothing.
    bool startOnPort();
    QProcess m_process;
    QTcpSocket m_socket;
    quint16 m_port = 0;
};
