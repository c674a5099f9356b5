#include "serialportstream.h"

#include "platform/threadcall.h"

#include <QSerialPort>
#include <QSerialPortInfo>

SerialPortStream::SerialPortStream() {
    m_thread.setObjectName(QStringLiteral("SerialPortStream"));
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    m_thread.start();
}

SerialPortStream::~SerialPortStream() {
    close();
    m_thread.quit();
    m_thread.wait();
    // Not deleteLater() at the thread's end: a loop that has quit may never run it.
    delete m_context;
}

void SerialPortStream::runOnThread(const std::function<void()>& fn) {
    callOnThread(m_context, fn);
}

SerialOpenResult SerialPortStream::open(const QString& name, int baud) {
    SerialOpenResult result;
    runOnThread([&] {
        closeOnThread();
        auto* port = new QSerialPort(m_context);
        port->setPortName(name);
        if (!port->open(QIODevice::ReadWrite)) {
            result.error = port->errorString();
            delete port;
            return;
        }
        port->setBaudRate(baud);
        port->setDataBits(QSerialPort::Data8);
        port->setParity(QSerialPort::NoParity);
        port->setStopBits(QSerialPort::TwoStop);
        port->setFlowControl(QSerialPort::NoFlowControl);
        port->clear(QSerialPort::AllDirections);
        QObject::connect(port, &QSerialPort::readyRead, port, [this, port] {
            const QByteArray bytes = port->readAll();
            if (!bytes.isEmpty() && bytesReceived)
                bytesReceived(bytes);
        });
        QObject::connect(port, &QSerialPort::errorOccurred, port, [this, port](QSerialPort::SerialPortError error) {
            // A timeout is no failure; anything else on an open port means the device is gone or unusable.
            if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || !port->isOpen())
                return;
            const QString text = port->errorString();
            closeOnThread();
            if (lost)
                lost(text);
        });
        m_port = port;
        m_open = true;
        result.ok = true;
    });
    return result;
}

void SerialPortStream::closeOnThread() {
    m_open = false;
    if (!m_port)
        return;
    QSerialPort* port = m_port;
    m_port = nullptr;
    port->disconnect();
    if (port->isOpen()) {
        // Whatever is written last (the keyer's host close) still reaches the device.
        if (port->bytesToWrite() > 0)
            port->waitForBytesWritten(500);
        port->close();
    }
    port->deleteLater();
}

void SerialPortStream::close() {
    runOnThread([this] { closeOnThread(); });
}

bool SerialPortStream::isOpen() const {
    return m_open;
}

bool SerialPortStream::write(const QByteArray& bytes) {
    if (!m_open)
        return false;
    QMetaObject::invokeMethod(
        m_context,
        [this, bytes] {
            if (!m_port)
                return;
            m_port->write(bytes);
            m_port->flush();
        },
        Qt::QueuedConnection);
    return true;
}

QStringList SerialPortStream::enumerate() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.portName();
    names.sort();
    return names;
}
