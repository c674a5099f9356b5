#pragma once

#include <QProcess>
#include <QString>

// The real cwdaemon on a free local UDP port, keying nothing (the null device, no sound), with its debug output
// captured: it names each character as it queues it.
class CwdaemonProcess {
public:
    // False (with the reason in skipReason) when cwdaemon is not installed.
    static bool available(QString* skipReason);

    CwdaemonProcess();
    ~CwdaemonProcess();

    // Starts cwdaemon on a free port; false when it does not answer within a few seconds.
    bool start();
    void kill();
    quint16 port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // Its debug output so far.
    QString output();
    // The characters it queued for keying, in order.
    QString keyedText();

private:
    bool startOnPort();
    static QString program();
    QProcess m_process;
    QString m_output;
    quint16 m_port = 0;
};
