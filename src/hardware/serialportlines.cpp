#include "serialportlines.h"

#include <QSerialPortInfo>

SerialPortLines::SerialPortLines() = default;

SerialPortLines::~SerialPortLines() {
    close();
}

SerialOpenResult SerialPortLines::open(const QString& name) {
    std::lock_guard lock(m_mutex);
    if (m_port.isOpen())
        return {true, {}};
    m_port.setPortName(name);
    if (!m_port.open(QIODevice::ReadWrite))
        return {false, m_port.errorString()};
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(8192);
    m_port.clear(QSerialPort::AllDirections);
    m_port.setDataTerminalReady(false);
    m_port.setRequestToSend(false);
    return {true, {}};
}

void SerialPortLines::close() {
    std::lock_guard lock(m_mutex);
    if (m_port.isOpen())
        m_port.close();
}

bool SerialPortLines::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_port.isOpen();
}

bool SerialPortLines::setRts(bool on) {
    std::lock_guard lock(m_mutex);
    if (!m_port.isOpen())
        return true;
    return m_port.setRequestToSend(on);
}

bool SerialPortLines::setDtr(bool on) {
    std::lock_guard lock(m_mutex);
    if (!m_port.isOpen())
        return true;
    return m_port.setDataTerminalReady(on);
}

QStringList SerialPortLines::enumerate() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QSerialPort probe(info);
        if (probe.open(QIODevice::ReadWrite)) {
            names << info.portName();
            probe.close();
        }
    }
    names.sort();
    return names;
}
