#pragma once

#include "keyer/ports/portseams.h"

#include <QSerialPort>

#include <mutex>

// The keying port's RTS and DTR lines on a real serial port. Opening applies 9600 8N1 and clears both
// lines, so the transmitter is key-up and in receive after every open.
class SerialPortLines final : public SerialLines {
public:
    SerialPortLines();
    ~SerialPortLines() override;

    SerialOpenResult open(const QString& name) override;
    void close() override;
    bool isOpen() const override;
    bool setRts(bool on) override;
    bool setDtr(bool on) override;
    QStringList enumerate() override;

private:
    mutable std::mutex m_mutex;
    QSerialPort m_port;
};
