#pragma once

#include "keyer/keyerconfig.h"
#include "keyer/ports/portseams.h"
#include "keyer/textkeyer.h"

#include <functional>
#include <mutex>

// The keying and PTT lines over the chosen port, the sidetone and the two indicator LEDs. The element's
// duration is timed by the caller between keyDown() and keyUp(). A write that fails on the way up is
// retried and then the whole port is forced to rest (key up, PTT off), so no failure leaves the key down.
class KeyingInterface {
public:
    KeyingInterface(ParallelPortIo* parallel, SerialLines* serial, Sidetone* sidetone);

    // Port choice, lines, PTT option and sidetone; may change while a transmission runs.
    void configure(const KeyerConfig& config);
    // The radio's CAT choices, on top of the keyer's port: CW from the radio's keyer when the keyer chosen is the
    // radio (the engine still times the text, so the display and the stop keys behave as ever), PTT by command
    // instead of the PTT line. A null radio turns both off.
    void setRigKeying(RigKeying* rig, bool ptt);
    // The Winkeyer or cwdaemon that keys instead of the port's lines; null for none. PTT for the manual window and
    // the voice keyer then goes to it.
    void setTextKeyer(TextKeyer* keyer);
    TextKeyer* textKeyer() const;
    bool cwThroughRig() const;
    void setSidetone(bool on);
    bool sidetoneOn() const;
    bool pttOption() const;
    int pttDelayMs() const;
    KeyingPort port() const;

    // Key down: keyLed on, the keying line raised, the sidetone sounding. False when the line write failed.
    bool keyDown();
    // Key up: the keying line lowered, the sidetone silent, keyLed off. False when the port could not be
    // brought to rest even after retries.
    bool keyUp();
    // PTT line raised when the PTT option is on (the caller waits the PTT delay).
    bool pttOn();
    // Both lines released (serial: DTR then RTS; parallel: 8), pttLed off. Does not look at the option.
    bool pttOff();
    // After a stop: the parallel port is written 8 and pttLed goes off; other ports are left as they are.
    void stoppedState();
    // A character (or a blank between words) starts: the radio's keyer gets it at the engine's speed.
    void characterStarted(QChar c, int wpm);
    // The operator stopped sending: the radio's keyer drops what it has not sent yet.
    void sendingStopped();
    // Choosing the parallel port or loading it at start-up writes 8 to the control register.
    bool lptChosen();

    ParallelPortIo* parallel() const { return m_parallel; }
    SerialLines* serial() const { return m_serial; }

    // Indicator changes, called on the thread that keys.
    std::function<void(bool)> keyLedChanged;
    std::function<void(bool)> pttLedChanged;

private:
    struct Lines {
        KeyingPort port = KeyingPort::None;
        int control = 0x37A;
        bool keyingOnRts = false;
        bool ptt = false;
        int pttDelayMs = 100;
        bool sidetone = true;
        int toneHz = 800;
        int volume = 20;
        RigKeying* rig = nullptr;
        TextKeyer* textKeyer = nullptr;
        bool rigChosen = false; // the keyer chosen is the radio's
        bool rigCw = false;
        bool rigPtt = false;
    };
    Lines lines() const;
    bool writeLpt(int control, quint8 value);
    bool setKeyLine(const Lines& l, bool on);
    bool forceRest(const Lines& l);
    quint8 readControl(int control);

    ParallelPortIo* m_parallel;
    SerialLines* m_serial;
    Sidetone* m_sidetone;
    mutable std::mutex m_mutex;
    Lines m_lines;
    quint8 m_lastControl = 8;
    bool m_toneSounding = false;
};
