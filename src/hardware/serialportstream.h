#pragma once

#include "keyer/ports/portseams.h"

#include <QThread>

#include <atomic>

class QSerialPort;

// A serial port for a byte protocol (the Winkeyer) on a thread of its own with an event loop: received bytes and
// the loss of the device are reported there, and a write from any thread is handed to it at once and flushed,
// so a byte reaches the wire without waiting for another thread's event loop.
class SerialPortStream final : public SerialStream {
public:
    SerialPortStream();
    ~SerialPortStream() override;

    SerialOpenResult open(const QString& name, int baud) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes) override;
    QStringList enumerate() override;

private:
    // Runs fn on the port's thread and waits for it (directly when already there).
    void runOnThread(const std::function<void()>& fn);
    void closeOnThread();

    QThread m_thread;
    QObject* m_context = nullptr;  // lives on m_thread
    QSerialPort* m_port = nullptr; // created, used and deleted on m_thread
    std::atomic<bool> m_open{false};
};
