#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// What the radio answered: the current VFO's frequency and its mode as hamlib names it ("USB", "CW", "PKTUSB" …).
// An empty error means the radio answered.
struct RigReading {
    qint64 frequencyHz = 0;
    QString mode;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// The outcome of one command to the radio; the error is the text the operator is shown.
struct RigReply {
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// The transceiver over CAT. Every call blocks until the radio (or rigctld) answers or gives up, so only the
// poller's thread makes them; the window thread never waits on a radio.
class Rig {
public:
    virtual ~Rig() = default;

    virtual RigReply open() = 0;
    virtual void close() = 0;
    virtual RigReading read() = 0;
    virtual RigReply setFrequency(qint64 hz) = 0;
    virtual RigReply setMode(const QString& mode) = 0;
    virtual RigReply setPtt(bool on) = 0;
    // Text for the radio's own keyer, at the given speed.
    virtual RigReply sendMorse(const QString& text, int wpm) = 0;
    virtual RigReply stopMorse() = 0;
};

Q_DECLARE_METATYPE(RigReading)
