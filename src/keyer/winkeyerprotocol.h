#pragma once

#include "keyer/textkeyer.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

// The byte protocol of the K1EL Winkeyer chip (WK2, and WK3 in its WK2-compatible mode) as the keyer uses it:
// the commands it writes, the bytes that come back, and how our keyer settings map onto the chip's registers.
namespace Winkeyer {

constexpr int kBaud = 1200;

enum Command : quint8 {
    Admin = 0x00,
    SidetoneControl = 0x01,
    SetSpeed = 0x02,
    SetWeighting = 0x03,
    SetPttTiming = 0x04,
    SpeedPotSetup = 0x05,
    GetSpeedPot = 0x07,
    PinConfig = 0x09,
    ClearBuffer = 0x0A,
    KeyImmediate = 0x0B,
    ModeRegister = 0x0E,
    NullCommand = 0x13,
    RequestStatus = 0x15,
    DitDahRatio = 0x17,
    BufferedPtt = 0x18,
    BufferedSpeed = 0x1C,
};

enum AdminCommand : quint8 { HostOpen = 0x02, HostClose = 0x03 };

// The status byte is 0xC0 with these bits.
enum StatusBit : quint8 { Xoff = 0x01, BreakIn = 0x02, Busy = 0x04, KeyDown = 0x08, Wait = 0x10 };

// Mode register: the chip echoes every character it has keyed from the host; paddle echo stays off, so
// letters keyed on the paddle are never taken for ours.
constexpr quint8 kModeSerialEcho = 0x04;
constexpr quint8 kModePaddleEcho = 0x40;

// Pin configuration: key output 1, sidetone and PTT outputs.
constexpr quint8 kPinKeyOut1 = 0x08;
constexpr quint8 kPinSidetone = 0x02;
constexpr quint8 kPinPtt = 0x01;

// The speed knob spans this range; its byte carries the offset from the minimum.
constexpr int kSpeedPotMin = 10;
constexpr int kSpeedPotRange = 30;

// Characters handed to the chip and not yet echoed. Far below the chip's buffer (128 bytes, XOFF at two
// thirds), so the buffer never overruns even before an XOFF status arrives, and an abort drops little.
constexpr int kMaxInChip = 8;

// The chip's registers for our keyer settings, each clamped to what the chip accepts.
struct Registers {
    quint8 speed = 30;       // 5..99 WPM
    quint8 weighting = 50;   // 10..90, 50 is a gap equal to a dot
    quint8 ditDahRatio = 50; // 33..66, 50 is a dash of three dots
    quint8 pttLead = 0;      // 10 ms units, 0..250
    quint8 pttTail = 0;      // 10 ms units, 0..250
    quint8 sidetone = 0x05;  // WK2 frequency code: 4000 Hz / n, n 1..10
    quint8 pinConfig = kPinKeyOut1;
    quint8 mode = kModeSerialEcho;

    bool operator==(const Registers&) const = default;
};

quint8 speedByte(int wpm);
Registers registersFor(const TextKeyerSettings& settings);

QByteArray hostOpen();
QByteArray hostClose();
// The nulls first: a chip left in the middle of a command by an earlier program takes them as the missing
// parameters, so host open is read as a command.
QByteArray hostOpenSequence();
QByteArray setSpeed(int wpm);
QByteArray bufferedSpeed(int wpm);
QByteArray clearBuffer();
QByteArray ptt(bool on);
QByteArray keyImmediate(bool on);
QByteArray requestSpeedPot();
// Every register write, in the order the keyer sends them after host open and on a settings change.
QByteArray configure(const Registers& registers);

// The byte the chip keys for a character (upper-cased; the backslash is our slash), none for one it cannot key.
std::optional<char> keyableByte(QChar c);
// The WPM of a speed knob byte's value.
int speedPotWpm(int value);

struct Event {
    enum Kind { Status, SpeedPot, Echo, Version };
    Kind kind;
    quint8 value; // status bits (without 0xC0), knob value, echoed character, version number
    bool operator==(const Event&) const = default;
};

// Reads the bytes that come back, in whatever pieces the serial port delivers them.
class Decoder {
public:
    // After host open the chip answers with its version byte, which is told apart from an echo only by
    // coming first.
    void expectVersion() { m_expectVersion = true; }
    std::vector<Event> feed(const QByteArray& bytes);

private:
    bool m_expectVersion = false;
};

// Our characters on their way through the chip: a queue not yet handed over and the characters in the chip's
// buffer waiting for their echo. A character the chip cannot key rides along with the one before it, so every
// character is reported in order.
class TextFlow {
public:
    explicit TextFlow(int maxInChip = kMaxInChip) : m_maxInChip(maxInChip) {}

    void append(const QString& text);
    struct Step {
        QByteArray bytes; // to write to the chip now
        QString sent;     // characters gone out without the chip (not keyable, nothing before them)
    };
    Step pump(bool xoff);
    // The characters an echo accounts for: the echoed one, any the chip skipped before it, and the
    // unkeyable ones after it. An echo of nothing we sent accounts for nothing.
    QString echo(char byte);
    // The chip has nothing left: whatever still waits for an echo was dropped by it.
    QString drain();
    void clear();
    void dropQueue() { m_queue.clear(); }
    int inChip() const;
    bool idle() const { return m_queue.empty() && m_inChip.empty(); }

private:
    struct Entry {
        QChar c;
        char byte; // 0 for a character the chip cannot key
    };
    int m_maxInChip;
    std::deque<Entry> m_queue;
    std::deque<Entry> m_inChip;
};

} // namespace Winkeyer
