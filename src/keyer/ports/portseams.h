#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The keyer's hardware seams. Every call may come from the sender thread; implementations are thread-safe.

// Port I/O on the parallel port's registers. A write that did not reach the port returns false.
class ParallelPortIo {
public:
    virtual ~ParallelPortIo() = default;
    virtual bool out(int address, quint8 value) = 0;
    virtual std::optional<quint8> in(int address) = 0;
};

struct SerialOpenResult {
    bool ok = false;
    QString error; // the system's error text when not ok
};

// The RTS and DTR lines of a serial port. Line changes on a closed port do nothing and report success.
class SerialLines {
public:
    virtual ~SerialLines() = default;
    virtual SerialOpenResult open(const QString& name) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool setRts(bool on) = 0;
    virtual bool setDtr(bool on) = 0;
    // The ports that can be opened now, sorted.
    virtual QStringList enumerate() = 0;
};

// The sidetone: sounds from toneOn until toneOff. The keyer times the element itself, so the key-down time
// does not depend on whether a sound device exists.
class Sidetone {
public:
    virtual ~Sidetone() = default;
    virtual void toneOn(int frequencyHz, int volumePercent) = 0;
    virtual void toneOff() = 0;
    // Called once, on the keying thread, when a tone is asked for that cannot sound (no sound device). Set before
    // the first tone; the keyer keys on.
    std::function<void()> unavailable;
};

// The radio's own CAT keying: CW text for its keyer and PTT by command. The calls hand the work to the radio's
// thread and return at once, so the sender's timing never waits on the radio.
class RigKeying {
public:
    virtual ~RigKeying() = default;
    virtual void sendMorse(const QString& text, int wpm) = 0;
    // Drops what the radio's keyer still has to send.
    virtual void stopMorse() = 0;
    virtual void setPtt(bool on) = 0;
};

// A byte stream to a serial device that speaks a protocol (the Winkeyer). The received bytes and the loss of the
// device are reported on the stream's own thread; write() may be called from any thread and returns at once.
class SerialStream {
public:
    virtual ~SerialStream() = default;
    // Opens the port at the baud rate with 8 data bits, no parity and two stop bits.
    virtual SerialOpenResult open(const QString& name, int baud) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues the bytes for the device; false when the port is closed or gone.
    virtual bool write(const QByteArray& bytes) = 0;
    // The serial ports that can be opened now, sorted.
    virtual QStringList enumerate() = 0;

    std::function<void(const QByteArray&)> bytesReceived;
    // The device went away (USB unplugged) or the line failed; the text is the system's.
    std::function<void(const QString&)> lost;
};

// Datagrams to and from one host and port (cwdaemon). Received datagrams are reported on the socket's own
// thread; send() may be called from any thread and returns at once.
class Datagrams {
public:
    virtual ~Datagrams() = default;
    // Resolves the host and binds a local port; the text of a failure is the system's.
    virtual SerialOpenResult open(const QString& host, int port) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool send(const QByteArray& datagram) = 0;

    std::function<void(const QByteArray&)> datagramReceived;
    // The peer refused a datagram (nothing listens on the port) or the socket failed.
    std::function<void(const QString&)> failed;
};
